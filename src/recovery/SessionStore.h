#pragma once

#include <QList>
#include <QString>

// One open file as the session keeps it.
struct SessionDocument
{
    QString path;
    long caretLine = 0;
    long firstVisibleLine = 0;
    QString highlighter;
    QString encoding;

    bool operator==(const SessionDocument &) const = default;
};

// The files that were open at the last normal exit, in the state folder,
// written through the safe writer.
class SessionStore
{
public:
    static QString FilePath();
    // An empty answer is success, otherwise the reason of the failure.
    static QString Save(const QList<SessionDocument> &documents);
    static QList<SessionDocument> Load();

    // Whether the next start reopens them (setting, default on).
    static bool RestoresAtStart();
    static void SetRestoresAtStart(bool restore);
};
