#include "TextFileWriter.h"

#include "ChunkEncoder.h"
#include "LineEnds.h"
#include "Utf8Scan.h"
#include "platform/SafeFileWriter.h"

#include <QFileInfo>
#include <functional>

namespace {

// Encoded a slice at a time, so the encoded copy stays small.
constexpr qsizetype EncodeSlice = 1 << 20;

// Encodes the UTF-8 text slice by slice, handing each encoded slice to
// write (which answers false to stop). Answers the offset of the first
// character the encoding cannot hold, or -1.
qint64 EncodeText(QByteArrayView utf8, const TextEncoding &encoding, const std::function<bool(const QByteArray &)> &write)
{
    ChunkEncoder encoder(encoding);
    QByteArray out;
    qint64 done = 0;
    const qint64 length = utf8.size();
    while (done < length) {
        const qsizetype slice = qsizetype(std::min<qint64>(EncodeSlice, length - done));
        const bool last = done + slice == length;
        const auto step = encoder.Encode(utf8.sliced(done, slice), last, out);
        if (!step.ok)
            return done + step.used;
        if (!write(out))
            return -1;
        done += step.used;
    }
    return -1;
}

// The character at a position, as a user can be shown it.
QString CharacterAt(QByteArrayView utf8, qint64 position)
{
    char32_t cp = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data() + position);
    if (Utf8Scan::DecodeOne(p, utf8.size() - position, cp) > 0)
        return QStringLiteral("“%1”").arg(QString::fromUcs4(&cp, 1));
    return QStringLiteral("字节 0x%1").arg(QString::number(*p, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

FileIoResult Outcome(const FileWriteResult &written)
{
    return written ? FileIoResult::Success() : FileIoResult::Failure(written.reason);
}

} // namespace

// A file the user made read-only stays as it is (a save file would
// otherwise quietly replace it).
FileIoResult TextFileWriter::CheckTarget(const QString &path)
{
    // What may not be written at all (read-only, a folder, a device, a loop
    // of links) is told before the encoding is.
    if (const FileWriteResult writable = SafeFileWriter::Check(path); !writable)
        return Outcome(writable);
    return FileIoResult::Success();
}

FileIoResult TextFileWriter::CheckEncodable(QByteArrayView utf8, const TextEncoding &encoding)
{
    if (encoding.IsPassThrough())
        return FileIoResult::Success();
    const qint64 bad = EncodeText(utf8, encoding, [](const QByteArray &) { return true; });
    if (bad < 0)
        return FileIoResult::Success();
    const LineEnds::Counts before = LineEnds::Count(utf8.first(bad));
    const qint64 line = before.crlf + before.cr + before.lf + 1;
    return FileIoResult::NotEncodable(bad, QStringLiteral("第 %1 行的字符%2无法用 %3 编码保存。")
                                               .arg(line)
                                               .arg(CharacterAt(utf8, bad), encoding.Name()));
}

FileIoResult TextFileWriter::Write(const QString &path, QByteArrayView utf8, const TextEncoding &encoding)
{
    if (const FileIoResult target = CheckTarget(path); !target.ok())
        return target;
    SafeFileWriter file(path);
    if (const FileWriteResult opened = file.Open(); !opened)
        return Outcome(opened);
    if (encoding.bom)
        file.Write(encoding.Mark());
    if (encoding.IsPassThrough()) {
        file.Write(utf8);
    } else {
        const qint64 bad = EncodeText(utf8, encoding, [&](const QByteArray &encoded) { return file.Write(encoded); });
        if (bad >= 0) { // never half a file
            file.Cancel();
            return FileIoResult::NotEncodable(bad, QStringLiteral("有字符无法用 %1 编码保存。").arg(encoding.Name()));
        }
    }
    return Outcome(file.Commit());
}
