#pragma once

#include "BackupStore.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <functional>

class QTimer;
class QWidget;
class clsScintilla;

// Backs up every modified document a little after typing pauses, and at
// least every half minute while it goes on. The editor's thread only takes
// one copy of the component's buffer; the store writes it elsewhere.
class DocumentBackups : public QObject
{
    Q_OBJECT

public:
    explicit DocumentBackups(QWidget *owner);
    // Only an orderly end of the program gets here, which is a normal exit.
    ~DocumentBackups() override;

    // What a document's backup says about it, asked at each backup.
    using Describe = std::function<BackupInfo()>;
    void Watch(clsScintilla *sci, Describe describe);
    // The document was saved: its backup is not needed.
    void Saved(clsScintilla *sci);
    // Takes the backup at once (the timers call this).
    void BackUp(clsScintilla *sci);
    // A normal exit: no backup is left behind.
    void Finish();

    void SetDelays(int pauseMs, int longestMs);
    BackupStore &Store() { return m_store; }

private:
    struct Watched
    {
        int id = 0;
        Describe describe;
        QTimer *pause = nullptr;
        QTimer *longest = nullptr;
        QByteArray copy; // shared with the writer until it is done
    };

    void OnChanged(clsScintilla *sci);
    void Unwatch(clsScintilla *sci);
    void ReportFailure(const QString &folder, const QString &reason);

    QWidget *m_owner;
    BackupStore m_store;
    QHash<clsScintilla *, Watched> m_watched;
    int m_nextId = 1;
    int m_pauseMs = 3000;
    int m_longestMs = 30000;
};
