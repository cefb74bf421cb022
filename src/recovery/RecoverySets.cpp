#include "RecoverySets.h"

#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RecoverySets RecoverySets::FindLeftOver()
{
    RecoverySets found;
    const QDir recovery(RecoveryFolder());
    const QStringList folders =
        recovery.entryList({BackupStore::SetPrefix() + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : folders) {
        const QString folder = recovery.filePath(name);
        auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + BackupStore::LockName());
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue; // its process still runs
        QFile index(folder + QLatin1Char('/') + BackupStore::IndexName());
        const QMap<int, BackupInfo> entries =
            index.open(QIODevice::ReadOnly) ? BackupStore::ParseIndex(index.readAll()) : QMap<int, BackupInfo>();
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            const QString textPath = folder + QLatin1Char('/') + BackupStore::TextName(it.key());
            if (QFileInfo::exists(textPath))
                found.m_documents.append({it.value(), textPath});
        }
        found.m_sets.push_back({folder, std::move(lock)});
    }
    return found;
}

RecoverySets::~RecoverySets()
{
    Keep();
}

void RecoverySets::Discard()
{
    for (HeldSet &set : m_sets) {
        set.lock.reset();
        QDir(set.folder).removeRecursively();
    }
    m_sets.clear();
    m_documents.clear();
}

void RecoverySets::Keep()
{
    m_sets.clear(); // each lock is given up as it goes
    m_documents.clear();
}
