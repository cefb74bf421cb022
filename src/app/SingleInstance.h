#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One running program per user and display: the first start listens on a
// local socket in the user's runtime directory; a later start hands its
// working directory and arguments over and ends.
//
// Message: a 32-bit length (big-endian), then a QDataStream of a tag, the
// working directory and the arguments. The running program answers one byte
// once it has the message, before it opens anything, so a file that takes
// long to open (or asks a question) does not hold up the start that sent it.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket of this user on this display, in $XDG_RUNTIME_DIR.
    static QString ServerName();

    enum class HandOverResult {
        Taken,     // the running program has the arguments
        NoOne,     // nothing listens (or only a socket a crash left)
        NoAnswer,  // something listens but did not take them in time
    };
    // Gives the arguments to the program listening there.
    static HandOverResult HandOver(const QString &serverName, const QString &workingDir,
                                   const QStringList &arguments, int answerMilliseconds = 10000);

    // Listens for later starts. A socket left behind by a program that ended
    // without removing it is removed first: call only when HandOver found no
    // one (NoOne).
    bool Listen(const QString &serverName);

    // Tells a message; for the tests.
    static QByteArray Message(const QString &workingDir, const QStringList &arguments);

signals:
    void Arrived(const QString &workingDir, const QStringList &arguments);

private:
    void Accept();
    void Read(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
};

// Holds a lock beside the socket while a start decides whether to hand over
// or to listen, so two programs started together do not both listen. A lock
// left by a process that is gone counts as free.
class StartLock
{
public:
    explicit StartLock(const QString &serverName);
    ~StartLock() { Release(); }
    void Release();

private:
    QLockFile m_lock;
    bool m_locked = false;
};
