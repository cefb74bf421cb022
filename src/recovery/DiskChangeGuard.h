#pragma once

#include "FileStamp.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;
class clsScintilla;

// Keeps each document honest about its file: notices when another program
// rewrites, replaces or deletes it, reloads an unchanged document quietly
// (a setting) and asks about a changed one, and asks before a save would
// write over a change. One prompt at a time, none while a document loads or
// another box is up: a check that meets those waits and comes back.
class DiskChangeGuard : public QObject
{
    Q_OBJECT

public:
    explicit DiskChangeGuard(QWidget *owner);

    // The document has just read or written its file: what the file is now
    // is what the document knows.
    void Track(clsScintilla *sci, const QString &path);
    void Forget(clsScintilla *sci);

    // Looks at the document's file again (its window became active, the
    // system reported a change). A change put off with 取消 is asked about
    // again only when the file changes once more, or at the next save.
    void Check(clsScintilla *sci);
    // Just before saving to path: false when the user would rather not write
    // over a change made by someone else.
    bool MaySave(clsScintilla *sci, const QString &path);
    // 文件 → 重新载入: reads the file again (asking first when modified),
    // keeping the encoding and the caret line.
    bool Reload(clsScintilla *sci);

    // Called when a reload failed part way: the window holds part of the
    // file and must not be saved over it.
    std::function<void(clsScintilla *)> onPartialRead;

    // Whether an unmodified document follows its file without asking.
    static bool ReloadsQuietly();
    static void SetReloadsQuietly(bool quietly);

    bool IsPrompting() const { return m_prompting; }

private:
    struct Entry
    {
        QString path;
        FileStamp stamp;
        bool deletionNoted = false;
        bool pending = false;
        // 取消 puts off the question about the file as it was then: the
        // window's activation (which closing the box itself brings) and the
        // system's further reports of that same change do not ask again.
        bool putOff = false;
        FileStamp putOffStamp;
    };

    void OnFileChanged(const QString &path);
    void OnDirectoryChanged(const QString &directory);
    void CheckPending();
    void Arm(const QString &path);
    void Disarm(const QString &path);
    bool MustWait(const clsScintilla *sci) const;
    void NoteDeletion(clsScintilla *sci, Entry &entry);
    void AskAboutChange(clsScintilla *sci);
    bool ReadAgain(clsScintilla *sci);
    int Ask(const QString &text, const QString &title, int buttons, int defaultButton, int icon, bool threeAnswers);

    QWidget *m_owner;
    QFileSystemWatcher m_watcher;
    QHash<clsScintilla *, Entry> m_entries;
    QTimer m_retry;
    bool m_prompting = false;
};
