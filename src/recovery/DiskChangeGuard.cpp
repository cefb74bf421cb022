#include "DiskChangeGuard.h"

#include "editor/clsScintilla.h"
#include "platform/MessageBoxSeam.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

const QString AppName = QStringLiteral("ScintillaMDI");
const QString Section = QStringLiteral("Settings");
const QString QuietKey = QStringLiteral("ReloadUnmodifiedQuietly");
const QString PromptTitle = QStringLiteral("文件已在磁盘上改变");

// A retry after a prompt or a load that was in the way.
constexpr int RetryMs = 300;

} // namespace

DiskChangeGuard::DiskChangeGuard(QWidget *owner)
    : QObject(owner), m_owner(owner)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskChangeGuard::OnFileChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskChangeGuard::OnDirectoryChanged);
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &DiskChangeGuard::CheckPending);
}

bool DiskChangeGuard::ReloadsQuietly()
{
    return SettingsStore::GetSetting(AppName, Section, QuietKey, QStringLiteral("1")) != QLatin1String("0");
}

void DiskChangeGuard::SetReloadsQuietly(bool quietly)
{
    SettingsStore::SaveSetting(AppName, Section, QuietKey, quietly ? QStringLiteral("1") : QStringLiteral("0"));
}

void DiskChangeGuard::Track(clsScintilla *sci, const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    auto it = m_entries.find(sci);
    if (it == m_entries.end()) {
        connect(sci, &QObject::destroyed, this, [this, sci] { Forget(sci); });
        it = m_entries.insert(sci, Entry{});
    } else if (it->path != absolute) {
        const QString old = it->path;
        it->path.clear();
        Disarm(old);
    }
    it->path = absolute;
    it->stamp = FileStamp::Take(absolute);
    it->deletionNoted = false;
    it->pending = false;
    it->putOff = false;
    Arm(absolute);
}

void DiskChangeGuard::Forget(clsScintilla *sci)
{
    const auto it = m_entries.find(sci);
    if (it == m_entries.end())
        return;
    const QString path = it->path;
    m_entries.erase(it);
    disconnect(sci, &QObject::destroyed, this, nullptr);
    Disarm(path);
}

// The folder is watched as well: an editor that saves by renaming a new file
// over the old one takes the watched file away, and only the folder sees the
// new one arrive.
void DiskChangeGuard::Arm(const QString &path)
{
    QStringList wanted;
    if (QFileInfo::exists(path) && !m_watcher.files().contains(path))
        wanted << path;
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher.directories().contains(folder))
        wanted << folder;
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted);
}

void DiskChangeGuard::Disarm(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    bool fileUsed = false, folderUsed = false;
    for (const Entry &entry : std::as_const(m_entries)) {
        fileUsed |= entry.path == path;
        folderUsed |= QFileInfo(entry.path).absolutePath() == folder;
    }
    if (!fileUsed)
        m_watcher.removePath(path);
    if (!folderUsed)
        m_watcher.removePath(folder);
}

void DiskChangeGuard::OnFileChanged(const QString &path)
{
    const QList<clsScintilla *> editors = m_entries.keys();
    for (clsScintilla *sci : editors) {
        const auto it = m_entries.constFind(sci);
        if (it != m_entries.cend() && it->path == path) {
            Arm(path);
            Check(sci);
        }
    }
}

void DiskChangeGuard::OnDirectoryChanged(const QString &directory)
{
    const QList<clsScintilla *> editors = m_entries.keys();
    for (clsScintilla *sci : editors) {
        const auto it = m_entries.constFind(sci);
        if (it != m_entries.cend() && QFileInfo(it->path).absolutePath() == directory) {
            Arm(it->path);
            Check(sci);
        }
    }
}

void DiskChangeGuard::CheckPending()
{
    const QList<clsScintilla *> editors = m_entries.keys();
    for (clsScintilla *sci : editors) {
        const auto it = m_entries.constFind(sci);
        if (it != m_entries.cend() && it->pending)
            Check(sci);
    }
}

bool DiskChangeGuard::MustWait(const clsScintilla *sci) const
{
    return m_prompting || sci->IsLoading() || QApplication::activeModalWidget() != nullptr;
}

void DiskChangeGuard::Check(clsScintilla *sci)
{
    auto it = m_entries.find(sci);
    if (it == m_entries.end())
        return;
    if (it->putOff && it->putOffStamp.Compare(it->path) == FileStamp::Change::Same)
        return;
    if (MustWait(sci)) {
        it->pending = true;
        m_retry.start();
        return;
    }
    it->pending = false;
    switch (it->stamp.Compare(it->path)) {
    case FileStamp::Change::Same:
        return;
    case FileStamp::Change::Deleted:
        NoteDeletion(sci, *it);
        return;
    case FileStamp::Change::Changed:
        it->deletionNoted = false;
        if (!sci->Modified() && ReloadsQuietly())
            ReadAgain(sci);
        else
            AskAboutChange(sci);
        return;
    }
}

// The text exists only in the window now: it stays open and counts as
// modified, so closing asks and Save writes the file again. Only a document
// that was unmodified changes before the user's eyes, and says why.
void DiskChangeGuard::NoteDeletion(clsScintilla *sci, Entry &entry)
{
    if (entry.deletionNoted)
        return;
    entry.deletionNoted = true;
    if (sci->Modified())
        return;
    sci->MarkModified();
    const QString path = entry.path;
    Ask(QStringLiteral("文件“%1”已在磁盘上被删除或移走。\n文档仍然打开，并标记为已修改；保存即可重新写出这个文件。")
            .arg(path),
        PromptTitle, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information, false);
}

void DiskChangeGuard::AskAboutChange(clsScintilla *sci)
{
    const QString path = m_entries.value(sci).path;
    const QString text = sci->Modified()
                             ? QStringLiteral("文件“%1”已被其他程序修改，而这个文档也有未保存的修改。\n\n"
                                              "重新载入：读入磁盘上的版本，放弃这个文档的修改。\n"
                                              "保留我的版本：保留这个文档；保存时将覆盖磁盘上的版本。")
                                   .arg(path)
                             : QStringLiteral("文件“%1”已被其他程序修改。\n\n"
                                              "重新载入：读入磁盘上的版本。\n"
                                              "保留我的版本：保留这个文档；保存时将覆盖磁盘上的版本。")
                                   .arg(path);
    QPointer<clsScintilla> alive(sci);
    const int answer = Ask(text, PromptTitle, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                           QMessageBox::Question, true);
    if (!alive || !m_entries.contains(sci))
        return; // closed while the box was up
    switch (answer) {
    case QMessageBox::Yes:
        ReadAgain(sci);
        return;
    case QMessageBox::No: {
        // This change is known now; the document no longer matches the file.
        Entry &entry = m_entries[sci];
        entry.stamp = FileStamp::Take(entry.path);
        sci->MarkModified();
        return;
    }
    default: {
        // Asked again when the file changes once more, or at the next save.
        Entry &entry = m_entries[sci];
        entry.putOff = true;
        entry.putOffStamp = FileStamp::Take(entry.path);
        return;
    }
    }
}

bool DiskChangeGuard::MaySave(clsScintilla *sci, const QString &path)
{
    const auto it = m_entries.constFind(sci);
    if (it == m_entries.cend() || it->path != QFileInfo(path).absoluteFilePath())
        return true;
    if (it->stamp.Compare(it->path) != FileStamp::Change::Changed)
        return true;
    const QString text = QStringLiteral("文件“%1”在读入之后已被其他程序修改。\n"
                                        "保存将用这个文档覆盖那些修改。是否仍然保存？")
                             .arg(it->path);
    return Ask(text, PromptTitle, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Warning, false)
           == QMessageBox::Yes;
}

bool DiskChangeGuard::Reload(clsScintilla *sci)
{
    const auto it = m_entries.constFind(sci);
    if (it == m_entries.cend() || sci->IsLoading() || m_prompting)
        return false;
    if (sci->Modified()) {
        const QString text = QStringLiteral("文件 [%1]\r\n已经发生修改.  重新载入将放弃这些修改, 是否继续?").arg(it->path);
        QPointer<clsScintilla> alive(sci);
        if (Ask(text, QStringLiteral("重新载入"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Warning, false)
                != QMessageBox::Yes
            || !alive || !m_entries.contains(sci))
            return false;
    }
    return ReadAgain(sci);
}

bool DiskChangeGuard::ReadAgain(clsScintilla *sci)
{
    const QString path = m_entries.value(sci).path;
    const long line = sci->GetCurLine();
    const long firstVisible = sci->SendEditor(Sci::SCI_GETFIRSTVISIBLELINE);
    const FileIoResult result = sci->LoadFile(path, sci->Encoding());
    if (!m_entries.contains(sci))
        return false;
    if (result.ok()) {
        sci->GotoLine(std::min(line, sci->GetLineCount() - 1));
        sci->SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, firstVisible);
        Track(sci, path);
        return true;
    }
    if (result.outcome == FileIoResult::Stopped)
        return false; // stopped by the user: the document is as it was
    QString text = QStringLiteral("无法重新载入文件“%1”。\n%2")
                       .arg(path, result.outcome == FileIoResult::NotFound ? QStringLiteral("文件已不存在。")
                                                                            : result.reason);
    if (result.partial) {
        if (onPartialRead)
            onPartialRead(sci);
        Forget(sci);
        text += QStringLiteral("\n窗口中只有文件的一部分，已不再与文件关联；文件本身没有改变。");
    }
    Ask(text, QStringLiteral("重新载入"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning, false);
    return false;
}

int DiskChangeGuard::Ask(const QString &text, const QString &title, int buttons, int defaultButton, int icon, bool threeAnswers)
{
    ButtonCaptions captions;
    if (threeAnswers)
        captions = {{QMessageBox::Yes, QStringLiteral("重新载入")},
                    {QMessageBox::No, QStringLiteral("保留我的版本")},
                    {QMessageBox::Cancel, QStringLiteral("取消")}};
    m_prompting = true;
    const int answer = MsgBox(m_owner, text, title, QMessageBox::StandardButtons(buttons),
                              QMessageBox::StandardButton(defaultButton), QMessageBox::Icon(icon), captions);
    m_prompting = false;
    return answer;
}
