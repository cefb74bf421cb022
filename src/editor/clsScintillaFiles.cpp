// Loading a document from a file and saving it to one, in the document's
// encoding.
#include "clsScintilla.h"

#include "DocumentCapacity.h"
#include "DocumentLoader.h"
#include "LineEnds.h"
#include "TextFileReader.h"
#include "TextFileWriter.h"
#include "platform/LongOperation.h"

#include <QCoreApplication>
#include <QFile>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

// A chosen end-of-line mode converts what is written: every line end, CR LF
// or alone, becomes the mode's (dropping the other byte would join the lines
// of a mixed file).
QByteArray FilteredForLineBreak(const char *data, qint64 length, long lineBreak)
{
    return LineEnds::Converted(QByteArrayView(data, length), lineBreak);
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
    QFile file;
    const qint64 largest = DocumentCapacity::Largest();
    if (FileIoResult opened = TextFileReader::Open(strFile, file, largest); !opened.ok())
        return opened;
    return ReadTextFile(file, file.size(), encoding, largest);
}

// The text goes to the component chunk by chunk, without undo history and
// without per-change reports; the loading editor takes no input while the
// interface handles its events between chunks.
FileIoResult clsScintilla::ReadTextFile(QFile &file, qint64 size, const std::optional<TextEncoding> &encoding,
                                       qint64 largest)
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
    target.largest = largest;
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
FileIoResult clsScintilla::CheckEncodable(LongOperation *operation) const
{
    if (m_encoding.IsPassThrough())
        return FileIoResult::Success();
    const long length = GetLen();
    const char *data = length > 0 ? static_cast<const char *>(m_editor->SendScintillaPtrResult(
                                        Sci::SCI_GETCHARACTERPOINTER))
                                  : "";
    return TextFileWriter::CheckEncodable(QByteArrayView(data, length), m_encoding, operation);
}

FileIoResult clsScintilla::WriteTextFile(const QString &strFile)
{
    if (!m_editor)
        return FileIoResult::Failure(QStringLiteral("编辑器不可用。"));
    if (const FileIoResult target = TextFileWriter::CheckTarget(strFile); !target.ok())
        return target;
    // Encoding is what takes long (checked, then written): twice the text.
    LongOperation operation(QStringLiteral("正在保存"));
    operation.SetTotal(2 * qint64(GetLen()));
    if (const FileIoResult encodable = CheckEncodable(&operation); !encodable.ok())
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
    return TextFileWriter::Write(strFile, QByteArrayView(data, bytes), m_encoding, &operation);
}
