#include "TextFileWriter.h"

#include "ChunkEncoder.h"
#include "LineEnds.h"
#include "Utf8Scan.h"
#include "platform/LongOperation.h"
#include "platform/SafeFileWriter.h"

#include <QFileInfo>
#include <functional>

namespace {

// Encoded a slice at a time, so the encoded copy stays small.
constexpr qsizetype EncodeSlice = 1 << 20;

struct Encoded
{
    qint64 bad = -1; // the offset of the first character the encoding cannot hold
    bool stopped = false;
};

// Encodes the UTF-8 text slice by slice, handing each encoded slice to
// write (which answers false to stop).
Encoded EncodeText(QByteArrayView utf8, const TextEncoding &encoding, LongOperation *operation,
                   const std::function<bool(const QByteArray &)> &write)
{
    ChunkEncoder encoder(encoding);
    QByteArray out;
    LongOperation::Pace pace;
    qint64 done = 0;
    const qint64 length = utf8.size();
    while (done < length) {
        if (operation && !operation->Breathe())
            return {-1, true};
        const qint64 wanted = operation ? pace.Next() : EncodeSlice;
        const qsizetype slice = qsizetype(std::min<qint64>(wanted, length - done));
        const bool last = done + slice == length;
        const auto step = encoder.Encode(utf8.sliced(done, slice), last, out);
        if (!step.ok)
            return {done + step.used};
        if (!write(out))
            return {};
        done += step.used;
        if (operation)
            operation->Advance(step.used);
    }
    return {};
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

FileIoResult TextFileWriter::CheckEncodable(QByteArrayView utf8, const TextEncoding &encoding,
                                            LongOperation *operation)
{
    if (encoding.IsPassThrough())
        return FileIoResult::Success();
    const Encoded checked = EncodeText(utf8, encoding, operation, [](const QByteArray &) { return true; });
    if (checked.stopped)
        return FileIoResult::Stop();
    const qint64 bad = checked.bad;
    if (bad < 0)
        return FileIoResult::Success();
    const LineEnds::Counts before = LineEnds::Count(utf8.first(bad));
    const qint64 line = before.crlf + before.cr + before.lf + 1;
    return FileIoResult::NotEncodable(bad, QStringLiteral("第 %1 行的字符%2无法用 %3 编码保存。")
                                               .arg(line)
                                               .arg(CharacterAt(utf8, bad), encoding.Name()));
}

FileIoResult TextFileWriter::Write(const QString &path, QByteArrayView utf8, const TextEncoding &encoding,
                                   LongOperation *operation)
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
        const Encoded written = EncodeText(utf8, encoding, operation,
                                           [&](const QByteArray &encoded) { return file.Write(encoded); });
        if (written.stopped) { // never half a file
            file.Cancel();
            return FileIoResult::Stop();
        }
        if (written.bad >= 0) {
            file.Cancel();
            return FileIoResult::NotEncodable(written.bad,
                                              QStringLiteral("有字符无法用 %1 编码保存。").arg(encoding.Name()));
        }
    }
    return Outcome(file.Commit());
}
