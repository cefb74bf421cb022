#include "DocumentLoader.h"

#include "ChunkDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

// Decoded a slice at a time, so the UTF-8 copy stays small.
constexpr qsizetype DecodeSlice = 1 << 20;

// The file from an offset, chunk by chunk. Bytes a step could not use yet (a
// character cut off by the chunk's end) start the next chunk.
class ChunkReader
{
public:
    ChunkReader(QFile &file, qint64 from, qint64 size, qint64 chunkSize)
        : m_file(file), m_remaining(size - from), m_chunkSize(chunkSize)
    {
        if (!m_file.seek(from))
            m_failure = FileIoResult::Failure(DocumentLoader::ReadFailure(m_file));
    }

    bool Next()
    {
        if (!m_failure.ok() || m_remaining <= 0)
            return false;
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
    : m_file(file), m_size(size), m_target(std::move(target))
{
}

QByteArray DocumentLoader::Head()
{
    QByteArray head(int(std::min<qint64>(4, m_size)), '\0');
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
    for (const TextEncoding &encoding : TextEncoding::DetectionOrder(Head())) {
        Pass pass;
        if (encoding.codec == TextEncoding::Utf8) {
            pass = LoadUtf8(encoding);
        } else {
            qint64 length = 0;
            pass = Measure(encoding, length);
            if (pass == Pass::Done && length > m_target.largest)
                pass = Pass::Invalid; // its text would not fit; the bytes do
            if (pass == Pass::Done)
                pass = LoadDecoded(encoding, length);
        }
        if (pass != Pass::Invalid)
            return Finish(pass, encoding);
    }
    return Finish(LoadRaw(m_rawPrefix), TextEncoding::Raw);
}

FileIoResult DocumentLoader::LoadAs(TextEncoding encoding)
{
    encoding.bom = !encoding.Mark().isEmpty() && Head().startsWith(encoding.Mark());
    qint64 length = 0;
    const Pass checked = Measure(encoding, length);
    if (checked == Pass::Invalid)
        return FileIoResult::Failure(QStringLiteral("这个文件不是有效的 %1 文本。").arg(encoding.Name()));
    if (checked == Pass::Failed)
        return m_failure;
    if (length > m_target.largest)
        return FileIoResult::Failure(QStringLiteral("按 %1 编码读入后文字太长（2 GB 或以上），无法打开。").arg(encoding.Name()));
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
    ChunkReader reader(m_file, from, m_size, m_chunkSize);
    ChunkDecoder decoder(encoding);
    qint64 loaded = 0;
    while (reader.Next()) {
        const QByteArrayView chunk = reader.Chunk();
        const auto step = decoder.Decode(chunk, reader.Last(), nullptr);
        if (!step.ok) {
            m_rawPrefix = from == 0 ? loaded : 0;
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
DocumentLoader::Pass DocumentLoader::Measure(const TextEncoding &encoding, qint64 &utf8Length)
{
    return Decode(encoding, false, utf8Length);
}

DocumentLoader::Pass DocumentLoader::LoadDecoded(const TextEncoding &encoding, qint64 utf8Length)
{
    Clear();
    m_target.reserve(utf8Length + 1);
    qint64 written = 0;
    const Pass pass = Decode(encoding, true, written);
    if (pass == Pass::Invalid)
        Clear(); // the file changed since it was measured
    return pass;
}

DocumentLoader::Pass DocumentLoader::Decode(const TextEncoding &encoding, bool load, qint64 &written)
{
    const qint64 from = encoding.bom ? encoding.Mark().size() : 0;
    ChunkReader reader(m_file, from, m_size, m_chunkSize);
    ChunkDecoder decoder(encoding);
    const bool passThrough = encoding.IsPassThrough();
    QByteArray utf8;
    written = 0;
    while (reader.Next()) {
        const QByteArrayView chunk = reader.Chunk();
        qsizetype done = 0;
        while (done < chunk.size()) {
            const qsizetype end = std::min(done + DecodeSlice, chunk.size());
            const bool last = reader.Last() && end == chunk.size();
            const QByteArrayView slice = chunk.sliced(done, end - done);
            const auto step = decoder.Decode(slice, last, (load && !passThrough) ? &utf8 : nullptr);
            if (!step.ok)
                return Pass::Invalid;
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
    ChunkReader reader(m_file, from, m_size, m_chunkSize);
    while (reader.Next()) {
        m_target.append(reader.Chunk().data(), reader.Chunk().size());
        m_target.breathe();
    }
    m_failure = reader.Failure();
    return m_failure.ok() ? Pass::Done : Pass::Failed;
}
