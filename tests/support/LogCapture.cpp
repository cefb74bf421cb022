#include "LogCapture.h"

#include <cstring>

LogCapture *LogCapture::s_current = nullptr;

LogCapture::LogCapture(const char *category)
    : m_category(category), m_outer(s_current)
{
    s_current = this;
    m_previous = qInstallMessageHandler(&LogCapture::Handle);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    s_current = m_outer;
}

void LogCapture::Handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    LogCapture *capture = s_current;
    if (type == QtWarningMsg && context.category && capture->m_category == context.category) {
        capture->warnings.append(message);
        return;
    }
    if (capture->m_previous)
        capture->m_previous(type, context, message);
}
