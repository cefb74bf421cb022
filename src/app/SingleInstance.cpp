#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtEndian>
#include <unistd.h>

namespace {

const QString Tag = QStringLiteral("ferrolan-open/1");
constexpr char Answer = 'K';
// Far more than any command line; a longer message is no start of ours.
constexpr quint32 MaxMessage = 16 * 1024 * 1024;
constexpr qsizetype LengthBytes = 4;

// The display the program shows on, as a file-name part. Taken from the
// environment alone, so that a start that has not yet connected to the
// window system (a hand-over) names the same socket as the running program.
QString DisplayName()
{
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qgetenv("DISPLAY");
    QString name = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
    if (name.isEmpty())
        name = QStringLiteral("desktop");
    if (!display.isEmpty())
        name += QLatin1Char('-') + QString::fromLocal8Bit(display);
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    return name.replace(unsafe, QStringLiteral("_"));
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(runtime).filePath(QStringLiteral("ferrolan-%1-%2.socket").arg(::getuid()).arg(DisplayName()));
}

QByteArray SingleInstance::Message(const QString &workingDir, const QStringList &arguments)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << Tag << workingDir << arguments;
    QByteArray message(LengthBytes, '\0');
    qToBigEndian(quint32(payload.size()), message.data());
    return message + payload;
}

SingleInstance::HandOverResult SingleInstance::HandOver(const QString &serverName, const QString &workingDir,
                                                        const QStringList &arguments, int answerMilliseconds)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(1000))
        return HandOverResult::NoOne; // the socket is missing or stale
    socket.write(Message(workingDir, arguments));
    if (!socket.waitForBytesWritten(answerMilliseconds))
        return HandOverResult::NoAnswer;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(answerMilliseconds))
            return HandOverResult::NoAnswer;
    return socket.read(1) == QByteArray(1, Answer) ? HandOverResult::Taken : HandOverResult::NoAnswer;
}

bool SingleInstance::Listen(const QString &serverName)
{
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName); // what a crashed run left
    if (!m_server->listen(serverName))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::Accept);
    return true;
}

void SingleInstance::Accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        Read(socket); // bytes may be there already
    }
}

// The whole message is read before anything is done; a message that is no
// start of ours closes the connection.
void SingleInstance::Read(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < LengthBytes)
        return;
    const quint32 length = qFromBigEndian<quint32>(socket->peek(LengthBytes).constData());
    if (length > MaxMessage) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < LengthBytes + qint64(length))
        return;
    socket->skip(LengthBytes);
    const QByteArray payload = socket->read(length);
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_0);
    QString tag, workingDir;
    QStringList arguments;
    in >> tag >> workingDir >> arguments;
    if (in.status() != QDataStream::Ok || tag != Tag) {
        socket->abort();
        return;
    }
    socket->write(QByteArray(1, Answer));
    socket->flush();
    socket->disconnectFromServer();
    emit Arrived(workingDir, arguments);
}

StartLock::StartLock(const QString &serverName)
    : m_lock(serverName + QStringLiteral(".lock"))
{
    // A start that cannot get the lock in time goes on without it.
    m_locked = m_lock.tryLock(5000);
}

void StartLock::Release()
{
    if (m_locked)
        m_lock.unlock();
    m_locked = false;
}
