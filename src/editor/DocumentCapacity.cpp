#include "DocumentCapacity.h"

#include <QFile>
#include <limits>

namespace {

// Memory per byte of text: a 2.2 GB file of short lines, edited, peaked at
// 4.25 bytes per byte (the text, a style byte each, the line index, the
// undo history's start, the backup of the modified document).
constexpr qint64 TenthsPerByte = 45;
// Where the system says nothing about its memory: the 32-bit limit of old.
constexpr qint64 Unknown = std::numeric_limits<qint32>::max() - 1;

QString Gigabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0 * 1024.0), 'f', 1) + QStringLiteral(" GB");
}

} // namespace

qint64 DocumentCapacity::AvailableMemory()
{
    QFile info(QStringLiteral("/proc/meminfo"));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    // A file of /proc has no size: it is read to its end, not until atEnd().
    for (const QByteArray &raw : info.readAll().split('\n')) {
        const QByteArray line = raw.simplified(); // "MemAvailable: 123 kB"
        if (!line.startsWith("MemAvailable:"))
            continue;
        const QList<QByteArray> parts = line.split(' ');
        bool ok = false;
        const qint64 kilobytes = parts.size() >= 2 ? parts[1].toLongLong(&ok) : 0;
        return ok ? kilobytes * 1024 : -1;
    }
    return -1;
}

qint64 DocumentCapacity::Largest()
{
    const qint64 available = AvailableMemory();
    return available < 0 ? Unknown : available / TenthsPerByte * 10;
}

QString DocumentCapacity::TooLarge(qint64 size, qint64 largest)
{
    return QStringLiteral("文件太大（%1）：以本机现在可用的内存，本程序最多能打开约 %2 的文件。"
                          "可以先用 split 等工具把它分成较小的文件，或关掉其他程序后再试。")
        .arg(Gigabytes(size), Gigabytes(largest));
}
