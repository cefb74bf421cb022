#include "DocumentBackups.h"

#include "editor/clsScintilla.h"
#include "platform/MessageBoxSeam.h"

#include <QTimer>
#include <cstring>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

DocumentBackups::DocumentBackups(QWidget *owner)
    : QObject(owner), m_owner(owner)
{
    connect(&m_store, &BackupStore::WriteFailed, this, &DocumentBackups::ReportFailure);
}

DocumentBackups::~DocumentBackups()
{
    Finish();
}

void DocumentBackups::SetDelays(int pauseMs, int longestMs)
{
    m_pauseMs = pauseMs;
    m_longestMs = longestMs;
}

void DocumentBackups::Watch(clsScintilla *sci, Describe describe)
{
    if (m_watched.contains(sci))
        return;
    Watched watched;
    watched.id = m_nextId++;
    watched.describe = std::move(describe);
    watched.pause = new QTimer(this);
    watched.longest = new QTimer(this);
    for (QTimer *timer : {watched.pause, watched.longest}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, sci] { BackUp(sci); });
    }
    m_watched.insert(sci, watched);
    connect(sci, &clsScintilla::OnModified, this, [this, sci] { OnChanged(sci); });
    connect(sci, &clsScintilla::EncodingChanged, this, [this, sci] { OnChanged(sci); });
    // Closed without saving: the backup goes with the window.
    connect(sci, &QObject::destroyed, this, [this, sci] { Unwatch(sci); });
}

// Each change puts the backup off until typing pauses, but never past the
// longest wait since the first change not backed up.
void DocumentBackups::OnChanged(clsScintilla *sci)
{
    const auto it = m_watched.constFind(sci);
    if (it == m_watched.cend())
        return;
    it->pause->start(m_pauseMs);
    if (!it->longest->isActive())
        it->longest->start(m_longestMs);
}

void DocumentBackups::BackUp(clsScintilla *sci)
{
    const auto it = m_watched.find(sci);
    if (it == m_watched.end())
        return;
    it->pause->stop();
    it->longest->stop();
    if (sci->IsLoading()) {
        it->pause->start(m_pauseMs);
        return;
    }
    if (!sci->Modified()) {
        it->copy = QByteArray();
        m_store.Remove(it->id);
        return;
    }
    // A backup still being written holds its copy: the next one waits for
    // it rather than making a second copy (of a huge document, a second
    // gigabyte) and queueing behind it.
    if (it->copy.capacity() > 0 && !it->copy.isDetached()) {
        it->pause->start(m_pauseMs);
        return;
    }
    // The buffer where it lies and one copy of it.
    const long length = sci->GetLen();
    const char *data = length > 0
                           ? reinterpret_cast<const char *>(sci->SendEditor(Sci::SCI_GETRANGEPOINTER, 0, length))
                           : "";
    // The pages of a fresh buffer cost more than the copy into them: the last
    // backup's buffer is used again once the writer has let go of it.
    if (!it->copy.isDetached() || it->copy.capacity() < length)
        it->copy = QByteArray(length, Qt::Uninitialized);
    else
        it->copy.resize(length);
    std::memcpy(it->copy.data(), data, size_t(length));
    BackupInfo info = it->describe();
    info.time = QDateTime::currentDateTime();
    info.size = length;
    m_store.Save(it->id, it->copy, info);
}

void DocumentBackups::Saved(clsScintilla *sci)
{
    const auto it = m_watched.constFind(sci);
    if (it == m_watched.cend())
        return;
    it->pause->stop();
    it->longest->stop();
    m_watched[sci].copy = QByteArray();
    m_store.Remove(it->id);
}

void DocumentBackups::Unwatch(clsScintilla *sci)
{
    const auto it = m_watched.find(sci);
    if (it == m_watched.end())
        return;
    m_store.Remove(it->id);
    delete it->pause;
    delete it->longest;
    m_watched.erase(it);
}

void DocumentBackups::Finish()
{
    for (const Watched &watched : std::as_const(m_watched)) {
        watched.pause->stop();
        watched.longest->stop();
    }
    m_store.RemoveAll();
}

void DocumentBackups::ReportFailure(const QString &folder, const QString &reason)
{
    MsgBox(m_owner,
           QStringLiteral("无法在“%1”中保存未保存文档的备份：%2\n编辑可以继续，但程序意外退出时，未保存的修改将无法恢复。"
                          "这个提示在本次运行中只出现一次。")
               .arg(folder, reason),
           QStringLiteral("备份失败"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
}
