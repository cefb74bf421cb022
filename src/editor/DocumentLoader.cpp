#include "DocumentLoader.h"

#include "ChunkDecoder.h"
#include "DocumentCapacity.h"
#include "EncodingDetector.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

// The file from an offset, chunk by chunk. Bytes a step could not use yet (a
// character cut off by the chunk's end) start the next chunk.
class ChunkReader
{
public:
    ChunkReader(QFile &file, qint64 from, qint64 size, qint64 chunkSize, const std::function<bool()> &stopped)
        : m_file(file), m_remaining(size - from), m_chunkSize(chunkSize), m_stopped(stopped)
    {
        if (!m_file.seek(from))
            m_failure = FileIoResult::Failure(DocumentLoader::ReadFailure(m_file));
    }

    bool Next()
    {
        if (!m_failure.ok() || m_remaining <= 0)
            return false;
        if (m_stopped && m_stopped()) {
            m_failure = FileIoResult::Failure(QStringLiteral("读取已停止。"));
            return false;
        }
        const qsizetype carry = m_chunk.size() - m_used;
        if (carry > 0)
            std::memmove(m_chunk.data(), m_chunk.constData() + m_used, size_t(carry));
        const qint64 want = std::min(m_chunkSize, m_remaining);
        m_chunk.resize(carry + want);
        const qint64 got = m_file.read(m_chunk.data() + carry, want);
        if (got <= 0) {
            m_failure = FileIoResult::Failure(got < 0 ? DocumentLoader::ReadFailure(m_file)
                                                      : QStringLiteral("文件在读取时变短了。"));
            return false;
        }
        m_chunk.resize(carry + got);
        m_remaining -= got;
        m_used = m_chunk.size();
        return true;
    }

    QByteArrayView Chunk() const { return m_chunk; }
    bool Last() const { return m_remaining <= 0; }
    // Only the first `used` bytes of the chunk were taken.
    void Used(qsizetype used) { m_used = used; }
    const FileIoResult &Failure() const { return m_failure; }

private:
    QFile &m_file;
    qint64 m_remaining;
    qint64 m_chunkSize;
    const std::function<bool()> &m_stopped;
    QByteArray m_chunk;
    qsizetype m_used = 0;
    FileIoResult m_failure;
};

} // namespace

QString DocumentLoader::ReadFailure(const QFile &file)
{
    if (file.error() == QFileDevice::PermissionsError || !QFileInfo(file.fileName()).isReadable())
        return QStringLiteral("没有读取这个文件的权限。");
    return QStringLiteral("读取时出错（%1）。").arg(file.errorString());
}

DocumentLoader::DocumentLoader(QFile &file, qint64 size, Target target)
    : DocumentLoader(file, size, std::move(target), Sizes())
{
}

DocumentLoader::DocumentLoader(QFile &file, qint64 size, Target target, Sizes sizes)
    : m_file(file), m_size(size), m_target(std::move(target)), m_sizes(sizes)
{
}

QByteArray DocumentLoader::Head(qint64 length)
{
    QByteArray head(qsizetype(std::min<qint64>(length, m_size)), '\0');
    if (m_file.seek(0))
        head.resize(int(std::max<qint64>(0, m_file.read(head.data(), head.size()))));
    return head;
}

void DocumentLoader::Clear()
{
    m_target.clear();
    m_touched = true;
    m_rawPrefix = 0;
}

FileIoResult DocumentLoader::LoadDetected()
{
    Clear();
    const QByteArray head = Head(m_sizes.sample);
    QList<TextEncoding> byBytes = TextEncoding::FromMark(head);
    if (const auto wide = EncodingDetector::WideByZeros(head, m_size))
        byBytes << *wide;
    byBytes << TextEncoding(TextEncoding::Utf8);
    for (const TextEncoding &encoding : byBytes)
        if (const Pass pass = Load(encoding); pass != Pass::Invalid)
            return Finish(pass, encoding);

    QByteArray words;
    if (const Pass pass = CollectWords(words); pass != Pass::Done)
        return Finish(pass, TextEncoding::Raw);
    // When the sample read as the text of some encoding but the whole file
    // is not valid in it, any valid multi-byte reading beats single bytes.
    const auto ranking = EncodingDetector::RankLegacy(words);
    const QList<TextEncoding> legacy = ranking.likely + (ranking.likely.isEmpty() ? QList<TextEncoding>() : ranking.unlikely);
    for (const TextEncoding &encoding : legacy)
        if (const Pass pass = Load(encoding); pass != Pass::Invalid)
            return Finish(pass, encoding);

    const TextEncoding fallback(TextEncoding::Windows1252);
    if (EncodingDetector::LooksLikeText(head) && fallback.IsAvailable())
        if (const Pass pass = Load(fallback, Nul::Refused); pass != Pass::Invalid)
            return Finish(pass, fallback);
    return Finish(LoadRaw(m_rawPrefix), TextEncoding::Raw);
}

// UTF-8 streams in as it is checked. Anything else is measured on its first
// chunk only and then loaded, the room reserved from that measure: a second
// pass over a large file would cost as much as the decoding itself. A file
// found invalid further on is cleared again for the next candidate.
DocumentLoader::Pass DocumentLoader::Load(const TextEncoding &encoding, Nul nul)
{
    if (encoding.codec == TextEncoding::Utf8)
        return LoadUtf8(encoding);
    qint64 room = 0;
    const Pass pass = Estimate(encoding, room, nul);
    return pass == Pass::Done ? LoadDecoded(encoding, room, nul) : pass;
}

DocumentLoader::Pass DocumentLoader::Estimate(const TextEncoding &encoding, qint64 &utf8Length, Nul nul)
{
    const qint64 bytes = m_size - (encoding.bom ? encoding.Mark().size() : 0);
    const qint64 measured = std::min(bytes, m_sizes.readChunk);
    const Pass pass = Decode(encoding, false, utf8Length, nul, measured);
    if (pass == Pass::Done && measured < bytes && measured > 0)
        utf8Length = qint64(double(utf8Length) * double(bytes) / double(measured) * 1.02) + 4096;
    return pass;
}

// The words with bytes from 0x80 up, from the file's start until there are
// enough of them to judge (or the file ends).
DocumentLoader::Pass DocumentLoader::CollectWords(QByteArray &words)
{
    // Chunks of at least a megabyte, so that few words are lost at their edges.
    ChunkReader reader(m_file, 0, m_size, std::max<qint64>(m_sizes.readChunk, 1 << 20), m_target.stopped);
    bool first = true;
    while (words.size() < m_sizes.sample && reader.Next()) {
        EncodingDetector::CollectNonAsciiWords(reader.Chunk(), first, reader.Last(), words, m_sizes.sample);
        first = false;
    }
    m_failure = reader.Failure();
    return m_failure.ok() ? Pass::Done : Pass::Failed;
}

FileIoResult DocumentLoader::LoadAs(TextEncoding encoding)
{
    encoding.bom = !encoding.Mark().isEmpty() && Head(4).startsWith(encoding.Mark());
    qint64 length = 0;
    const Pass checked = Measure(encoding, length);
    if (checked == Pass::Invalid)
        return FileIoResult::Failure(QStringLiteral("这个文件不是有效的 %1 文本。").arg(encoding.Name()));
    if (checked == Pass::Failed)
        return m_failure;
    if (length > m_target.largest)
        return FileIoResult::Failure(QStringLiteral("按 %1 编码读入后文字太长。").arg(encoding.Name())
                                     + DocumentCapacity::TooLarge(length, m_target.largest));
    Clear();
    return Finish(LoadDecoded(encoding, length), encoding);
}

FileIoResult DocumentLoader::Finish(Pass pass, const TextEncoding &encoding)
{
    switch (pass) {
    case Pass::Done:
        m_decided = encoding;
        return FileIoResult::Success();
    case Pass::Invalid:
        return FileIoResult::Failure(QStringLiteral("文件在读取时发生了变化。"));
    case Pass::Failed:
        break;
    }
    return m_failure;
}

// UTF-8 is checked a chunk at a time and goes in as it is, so the common case
// reads the file once. The space is reserved once the first chunk has proved
// to be UTF-8, not before: a legacy file rarely gets that far.
DocumentLoader::Pass DocumentLoader::LoadUtf8(const TextEncoding &encoding)
{
    const qint64 from = encoding.bom ? encoding.Mark().size() : 0;
    ChunkReader reader(m_file, from, m_size, m_sizes.readChunk, m_target.stopped);
    ChunkDecoder decoder(encoding);
    qint64 loaded = 0;
    while (reader.Next()) {
        const QByteArrayView chunk = reader.Chunk();
        const auto step = decoder.Decode(chunk, reader.Last(), nullptr);
        if (!step.ok) {
            // What went in is the file's first bytes only when no mark was
            // skipped; the raw reading then goes on from there.
            if (from == 0)
                m_rawPrefix = loaded;
            else
                Clear();
            return Pass::Invalid;
        }
        if (loaded == 0)
            m_target.reserve(m_size - from + 1);
        m_target.append(chunk.data(), step.used);
        loaded += step.used;
        reader.Used(step.used);
        m_target.breathe();
    }
    m_failure = reader.Failure();
    return m_failure.ok() ? Pass::Done : Pass::Failed;
}

// A whole pass over the file that changes nothing: it proves the file valid
// and tells how much room its text needs, so the editor's buffer is sized
// once instead of growing (and being copied) many times.
DocumentLoader::Pass DocumentLoader::Measure(const TextEncoding &encoding, qint64 &utf8Length, Nul nul)
{
    return Decode(encoding, false, utf8Length, nul);
}

DocumentLoader::Pass DocumentLoader::LoadDecoded(const TextEncoding &encoding, qint64 room, Nul nul)
{
    Clear();
    m_target.reserve(std::min(room, m_target.largest) + 1);
    qint64 written = 0;
    const Pass pass = Decode(encoding, true, written, nul);
    if (pass == Pass::Invalid)
        Clear(); // not valid after all (or the file changed since it was measured)
    return pass;
}

// Decodes the file, or only its first upTo bytes (a character cut off there
// is no fault); loading stops, invalid, where the text would grow past the
// target's largest.
DocumentLoader::Pass DocumentLoader::Decode(const TextEncoding &encoding, bool load, qint64 &written, Nul nul,
                                            qint64 upTo)
{
    const qint64 from = encoding.bom ? encoding.Mark().size() : 0;
    const bool whole = upTo < 0 || from + upTo >= m_size;
    ChunkReader reader(m_file, from, whole ? m_size : from + upTo, m_sizes.readChunk, m_target.stopped);
    ChunkDecoder decoder(encoding);
    const bool passThrough = encoding.IsPassThrough();
    QByteArray utf8;
    written = 0;
    while (reader.Next()) {
        const QByteArrayView chunk = reader.Chunk();
        qsizetype done = 0;
        qsizetype sliceSize = m_sizes.decodeSlice;
        while (done < chunk.size()) {
            const qsizetype end = std::min(done + sliceSize, chunk.size());
            const bool last = whole && reader.Last() && end == chunk.size();
            const QByteArrayView slice = chunk.sliced(done, end - done);
            if (nul == Nul::Refused && slice.contains('\0'))
                return Pass::Invalid;
            const auto step = decoder.Decode(slice, last, (load && !passThrough) ? &utf8 : nullptr);
            if (!step.ok)
                return Pass::Invalid;
            if (step.used == 0 && end < chunk.size()) {
                sliceSize *= 2; // a character longer than a slice
                continue;
            }
            sliceSize = m_sizes.decodeSlice;
            if (load && written + step.written > m_target.largest)
                return Pass::Invalid; // its text would not fit; the bytes do
            if (load)
                m_target.append(passThrough ? slice.data() : utf8.constData(), step.written);
            written += step.written;
            done += step.used;
            if (step.used < slice.size() && end == chunk.size())
                break; // the rest waits for the next chunk
        }
        reader.Used(done);
        m_target.breathe();
    }
    m_failure = reader.Failure();
    return m_failure.ok() ? Pass::Done : Pass::Failed;
}

DocumentLoader::Pass DocumentLoader::LoadRaw(qint64 from)
{
    if (from == 0) {
        Clear();
        m_target.reserve(m_size + 1);
    }
    ChunkReader reader(m_file, from, m_size, m_sizes.readChunk, m_target.stopped);
    while (reader.Next()) {
        m_target.append(reader.Chunk().data(), reader.Chunk().size());
        m_target.breathe();
    }
    m_failure = reader.Failure();
    return m_failure.ok() ? Pass::Done : Pass::Failed;
}
