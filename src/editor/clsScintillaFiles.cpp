// Loading a document from a file and saving it to one, in the document's
// encoding.
#include "clsScintilla.h"

#include "ChunkEncoder.h"
#include "DocumentLoader.h"
#include "LineEnds.h"
#include "Utf8Scan.h"
#include "platform/SafeFileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <Qsci/qsciscintillabase.h>
#include <limits>

using Sci = QsciScintillaBase;

namespace {

// The component counts positions in 32 bits.
constexpr qint64 LargestDocument = std::numeric_limits<std::int32_t>::max() - 1;

// Encoded a slice at a time, so the encoded copy stays small.
constexpr qsizetype EncodeSlice = 1 << 20;

FileIoResult Outcome(const FileWriteResult &written)
{
    return written ? FileIoResult::Success() : FileIoResult::Failure(written.reason);
}

// A chosen end-of-line mode converts what is written: every line end, CR LF
// or alone, becomes the mode's (dropping the other byte would join the lines
// of a mixed file).
QByteArray FilteredForLineBreak(const char *data, qint64 length, long lineBreak)
{
    return LineEnds::Converted(QByteArrayView(data, length), lineBreak);
}

// Encodes the UTF-8 text slice by slice, handing each encoded slice to
// write (which answers false to stop). Answers the offset of the first
// character the encoding cannot hold, or -1.
qint64 EncodeText(const char *data, qint64 length, const TextEncoding &encoding,
                  const std::function<bool(const QByteArray &)> &write)
{
    ChunkEncoder encoder(encoding);
    QByteArray out;
    qint64 done = 0;
    while (done < length) {
        const qsizetype slice = qsizetype(std::min<qint64>(EncodeSlice, length - done));
        const bool last = done + slice == length;
        const auto step = encoder.Encode(QByteArrayView(data + done, slice), last, out);
        if (!step.ok)
            return done + step.used;
        if (!write(out))
            return -1;
        done += step.used;
    }
    return -1;
}

// The character at a position, as a user can be shown it.
QString CharacterAt(const char *data, qint64 length, qint64 position)
{
    char32_t cp = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(data + position);
    if (Utf8Scan::DecodeOne(p, length - position, cp) > 0)
        return QStringLiteral("“%1”").arg(QString::fromUcs4(&cp, 1));
    return QStringLiteral("字节 0x%1").arg(QString::number(*p, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

} // namespace

FileIoResult clsScintilla::LoadFile(const QString &strFile)
{
    return OpenAndRead(strFile, std::nullopt);
}

FileIoResult clsScintilla::LoadFile(const QString &strFile, const TextEncoding &encoding)
{
    return OpenAndRead(strFile, encoding);
}

FileIoResult clsScintilla::OpenAndRead(const QString &strFile, const std::optional<TextEncoding> &encoding)
{
    if (!m_editor)
        return FileIoResult::Failure(QStringLiteral("编辑器不可用。"));
    if (m_loading)
        return FileIoResult::Failure(QStringLiteral("这个文档正在读入。"));
    const QFileInfo info(strFile);
    if (!info.exists())
        return FileIoResult::Missing();
    if (info.isDir())
        return FileIoResult::Failure(QStringLiteral("这是一个文件夹，不是文件。"));
    if (!info.isFile())
        return FileIoResult::Failure(QStringLiteral("这不是一个普通文件。"));

    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return FileIoResult::Failure(DocumentLoader::ReadFailure(file));
    const qint64 size = file.size();
    if (size > LargestDocument)
        return FileIoResult::Failure(QStringLiteral("文件太大（2 GB 或以上），无法打开。"));
    return ReadTextFile(file, size, encoding);
}

// The text goes to the component chunk by chunk, without undo history and
// without per-change reports; the loading editor takes no input while the
// interface handles its events between chunks.
FileIoResult clsScintilla::ReadTextFile(QFile &file, qint64 size, const std::optional<TextEncoding> &encoding)
{
    m_loading = true;
    m_editor->setEnabled(false);
    m_editor->BeginBulkOperation();
    const long wasReadOnly = SendEditor(Sci::SCI_GETREADONLY);
    SendEditor(Sci::SCI_SETREADONLY, 0);
    SendEditor(Sci::SCI_SETUNDOCOLLECTION, 0);

    DocumentLoader::Target target;
    target.reserve = [this](qint64 bytes) {
        SendEditor(Sci::SCI_ALLOCATE, long(bytes));
    };
    target.clear = [this] { SendEditor(Sci::SCI_CLEARALL); };
    target.append = [this](const char *data, qsizetype length) {
        SendDirectPtr(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(length), const_cast<char *>(data));
    };
    target.breathe = [] { QCoreApplication::processEvents(); };
    target.largest = LargestDocument;
    DocumentLoader::Sizes sizes;
    sizes.readChunk = m_readChunkSize;
    DocumentLoader loader(file, size, std::move(target), sizes);
    FileIoResult result = encoding ? loader.LoadAs(*encoding) : loader.LoadDetected();

    SendEditor(Sci::SCI_SETUNDOCOLLECTION, 1);
    SendEditor(Sci::SCI_SETREADONLY, wasReadOnly);
    if (loader.Touched()) {
        SendEditor(Sci::SCI_GOTOPOS, 0);
        SetSavePoint();
        ClearUndoBuffer();
    }
    m_editor->EndBulkOperation();
    m_editor->setEnabled(true);
    m_loading = false;

    if (result.ok()) {
        m_encoding = m_fileEncoding = loader.Decided();
        FollowFileLineEnds();
        emit EncodingChanged();
    } else {
        result.partial = loader.Touched();
    }
    return result;
}

void clsScintilla::ConvertEncoding(const TextEncoding &encoding)
{
    if (encoding == m_encoding)
        return;
    m_encoding = encoding;
    emit EncodingChanged();
}

// New line ends are of the kind the file uses most, unless the user chose
// a kind.
void clsScintilla::FollowFileLineEnds()
{
    if (m_lineBreakAssigned)
        return;
    // A range pointer leaves the component's buffer where it is: the
    // character pointer would make room for a terminator and could copy
    // the whole document.
    const long length = GetLen();
    const char *data = length > 0 ? reinterpret_cast<const char *>(SendEditor(Sci::SCI_GETRANGEPOINTER, 0, length))
                                  : "";
    SetLineBreak(LineEnds::MostUsedMode(LineEnds::Count(QByteArrayView(data, length))));
}

// Saving never changes a byte the user did not touch, unless the user chose
// the line ends to convert to (CR LF mode keeps every byte as it is).
bool clsScintilla::ConvertsLineEndsOnSave() const
{
    return m_lineBreakAssigned && (m_LineBreak == Sci::SC_EOL_CR || m_LineBreak == Sci::SC_EOL_LF);
}

FileIoResult clsScintilla::SaveToFile(const QString &strFile)
{
    const FileIoResult result = WriteTextFile(strFile);
    if (result.ok()) {
        m_fileEncoding = m_encoding;
        SetSavePoint();
    }
    return result;
}

// Every character must fit the encoding before anything is written.
FileIoResult clsScintilla::CheckEncodable() const
{
    if (m_encoding.IsPassThrough())
        return FileIoResult::Success();
    const long length = GetLen();
    const char *data = length > 0 ? static_cast<const char *>(m_editor->SendScintillaPtrResult(
                                        Sci::SCI_GETCHARACTERPOINTER))
                                  : "";
    const qint64 bad = EncodeText(data, length, m_encoding, [](const QByteArray &) { return true; });
    if (bad < 0)
        return FileIoResult::Success();
    const long line = SendEditor(Sci::SCI_LINEFROMPOSITION, long(bad)) + 1;
    return FileIoResult::NotEncodable(bad, QStringLiteral("第 %1 行的字符%2无法用 %3 编码保存。")
                                               .arg(line)
                                               .arg(CharacterAt(data, length, bad), m_encoding.Name()));
}

FileIoResult clsScintilla::WriteTextFile(const QString &strFile)
{
    if (!m_editor)
        return FileIoResult::Failure(QStringLiteral("编辑器不可用。"));
    // A file the user made read-only stays as it is (a save file would
    // otherwise quietly replace it).
    const QFileInfo target(strFile);
    if (target.isDir())
        return FileIoResult::Failure(QStringLiteral("这个名字已被一个文件夹占用。"));
    if (SafeFileWriter::IsReadOnly(strFile))
        return FileIoResult::Failure(QStringLiteral("这个文件是只读的，或者没有写入它的权限。"));
    if (const FileIoResult encodable = CheckEncodable(); !encodable.ok())
        return encodable;

    // The component's own buffer, made contiguous: no copy of the document
    // unless the end-of-line mode filters it.
    const long length = GetLen();
    const char *data = length > 0 ? static_cast<const char *>(m_editor->SendScintillaPtrResult(
                                        Sci::SCI_GETCHARACTERPOINTER))
                                  : "";
    QByteArray filtered;
    if (ConvertsLineEndsOnSave()) {
        filtered = FilteredForLineBreak(data, length, m_LineBreak);
        data = filtered.constData();
    }
    const qint64 bytes = filtered.isNull() ? length : filtered.size();

    SafeFileWriter file(strFile);
    if (const FileWriteResult opened = file.Open(); !opened)
        return Outcome(opened);
    if (m_encoding.bom)
        file.Write(m_encoding.Mark());
    if (m_encoding.IsPassThrough()) {
        file.Write(data, bytes);
    } else {
        const qint64 bad = EncodeText(data, bytes, m_encoding,
                                      [&](const QByteArray &encoded) { return file.Write(encoded); });
        if (bad >= 0) { // checked above; never half a file all the same
            file.Cancel();
            return FileIoResult::NotEncodable(bad, QStringLiteral("有字符无法用 %1 编码保存。").arg(m_encoding.Name()));
        }
    }
    return Outcome(file.Commit());
}
