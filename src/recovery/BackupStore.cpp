#include "BackupStore.h"

#include "platform/SafeFileWriter.h"
#include "platform/StateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

namespace {

// An empty answer is success, anything else the reason of a failure.
QString WriteWhole(const QString &path, QByteArrayView bytes)
{
    SafeFileWriter writer(path);
    FileWriteResult result = writer.Open();
    if (result && writer.Write(bytes))
        result = writer.Commit();
    else
        result = writer.Result();
    return result ? QString() : result.reason;
}

} // namespace

BackupStore::BackupStore(QObject *parent)
    : QObject(parent)
{
    m_worker.setMaxThreadCount(1); // one at a time, in the order asked
}

BackupStore::~BackupStore()
{
    m_worker.waitForDone();
}

// Made with the first backup: a run without changes leaves nothing behind.
bool BackupStore::OpenSet()
{
    if (m_lock)
        return true;
    const QString folder = RecoveryFolder() + QLatin1Char('/') + SetPrefix()
                           + QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid())
                                 .arg(QDateTime::currentMSecsSinceEpoch());
    if (!QDir().mkpath(folder)) {
        ReportFailure(QStringLiteral("无法建立文件夹。"));
        return false;
    }
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + LockName());
    lock->setStaleLockTime(0); // only a dead process leaves a stale lock
    if (!lock->tryLock(0)) {
        ReportFailure(QStringLiteral("无法锁定备份文件夹。"));
        return false;
    }
    m_folder = folder;
    m_lock = std::move(lock);
    return true;
}

void BackupStore::Save(int id, QByteArray text, const BackupInfo &info)
{
    if (!OpenSet())
        return;
    m_index.insert(id, info);
    const QString textPath = m_folder + QLatin1Char('/') + TextName(id);
    const QString indexPath = m_folder + QLatin1Char('/') + IndexName();
    Queue([textPath, indexPath, text = std::move(text), index = IndexBytes(m_index)] {
        QString failure = WriteWhole(textPath, text);
        if (failure.isEmpty())
            failure = WriteWhole(indexPath, index);
        return failure;
    });
}

void BackupStore::Remove(int id)
{
    if (!m_lock || !m_index.remove(id))
        return;
    const QString textPath = m_folder + QLatin1Char('/') + TextName(id);
    const QString indexPath = m_folder + QLatin1Char('/') + IndexName();
    Queue([textPath, indexPath, index = IndexBytes(m_index)] {
        // The index first: a crash between the two leaves a stray file, not
        // an entry without its text.
        QString failure = WriteWhole(indexPath, index);
        QFile::remove(textPath);
        return failure;
    });
}

void BackupStore::RemoveAll()
{
    if (!m_lock)
        return;
    m_index.clear();
    m_worker.waitForDone();
    // The lock goes last: until then no other instance takes the set for
    // the leftovers of a crash.
    QDir folder(m_folder);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        if (name != LockName())
            folder.remove(name);
    m_lock.reset();
    QDir().rmdir(m_folder);
}

void BackupStore::WaitForWrites()
{
    m_worker.waitForDone();
}

void BackupStore::Queue(std::function<QString()> job)
{
    m_worker.start([this, job = std::move(job)] {
        const QString failure = job();
        if (!failure.isEmpty())
            QMetaObject::invokeMethod(this, [this, failure] { ReportFailure(failure); }, Qt::QueuedConnection);
    });
}

void BackupStore::ReportFailure(const QString &reason)
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    emit WriteFailed(RecoveryFolder(), reason);
}

QByteArray BackupStore::IndexBytes(const QMap<int, BackupInfo> &documents)
{
    QJsonArray list;
    for (auto it = documents.cbegin(); it != documents.cend(); ++it) {
        QJsonObject entry;
        entry[QStringLiteral("id")] = it.key();
        entry[QStringLiteral("path")] = it->path;
        entry[QStringLiteral("title")] = it->title;
        entry[QStringLiteral("encoding")] = it->encoding;
        entry[QStringLiteral("time")] = it->time.toString(Qt::ISODateWithMs);
        entry[QStringLiteral("size")] = it->size;
        list.append(entry);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("documents"), list}}).toJson();
}

QMap<int, BackupInfo> BackupStore::ParseIndex(const QByteArray &bytes)
{
    QMap<int, BackupInfo> documents;
    const QJsonArray list = QJsonDocument::fromJson(bytes).object().value(QStringLiteral("documents")).toArray();
    for (const QJsonValue &value : list) {
        const QJsonObject entry = value.toObject();
        BackupInfo info;
        info.path = entry.value(QStringLiteral("path")).toString();
        info.title = entry.value(QStringLiteral("title")).toString();
        info.encoding = entry.value(QStringLiteral("encoding")).toString();
        info.time = QDateTime::fromString(entry.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
        info.size = qint64(entry.value(QStringLiteral("size")).toDouble());
        documents.insert(entry.value(QStringLiteral("id")).toInt(), info);
    }
    return documents;
}
