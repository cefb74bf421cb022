#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

// Collects the warnings written to one logging category while it lives;
// everything else goes where it went before.
class LogCapture
{
public:
    explicit LogCapture(const char *category);
    ~LogCapture();

    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList warnings;

private:
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QByteArray m_category;
    QtMessageHandler m_previous = nullptr;
    LogCapture *m_outer = nullptr;
    static LogCapture *s_current;
};
