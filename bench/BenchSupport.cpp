#include "BenchSupport.h"

#include "editor/Utf8Scan.h"

#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <cstdlib>

namespace bench {

PrivateDesktop::PrivateDesktop()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", m_state.path().toLocal8Bit());
}

QByteArray CppLikeText(qint64 bytes)
{
    static const char *const lines[] = {
        "// 计算总和 compute the running total of the samples\n",
        "int total = 0;\n",
        "for (int i = 0; i < count; ++i) {\n",
        "    total += samples[i] * weight(i); /* weighted */\n",
        "}\n",
        "#include <vector>\n",
        "static const char *name = \"ferrolan sample string\";\n",
        "double average = count ? double(total) / count : 0.0;\n",
        "if (total > limit) { return report(total, \"over the limit\"); }\n",
        "\n",
    };
    QRandomGenerator random(42);
    QByteArray text;
    text.reserve(bytes + 128);
    while (text.size() < bytes)
        text += lines[random.bounded(int(std::size(lines)))];
    text.truncate(bytes);
    // Never end inside a character: the text stays valid UTF-8.
    for (qsizetype i = Utf8Scan::CompleteLength(text); i < text.size(); ++i)
        text[i] = ' ';
    return text;
}

QString WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

double Seconds(const std::function<void()> &action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double BestOf(int runs, const std::function<void()> &action)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, Seconds(action));
    return best;
}

namespace {
qint64 StatusField(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}
} // namespace

qint64 ResidentBytes()
{
    return StatusField("VmRSS:");
}

qint64 PeakResidentBytes()
{
    return StatusField("VmHWM:");
}

void Require(const FileIoResult &result)
{
    if (result.ok())
        return;
    std::fprintf(stderr, "benchmark stopped: %s\n", qPrintable(result.reason));
    std::exit(1);
}

void Report(const QString &name, const QString &figure, const QString &goal)
{
    std::printf("%-58s %-22s %s\n", qPrintable(name), qPrintable(figure), qPrintable(goal));
    std::fflush(stdout);
}

} // namespace bench
