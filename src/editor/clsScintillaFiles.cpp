// Loading a document from a file and saving it to one, in the document's
// encoding.
#include "clsScintilla.h"

#include "BackgroundColouring.h"
#include "BackgroundLoad.h"
#include "DocumentCapacity.h"
#include "DocumentLoader.h"
#include "LineEndSurvey.h"
#include "LineEnds.h"
#include "LoaderFeed.h"
#include "TextFileReader.h"
#include "TextFileWriter.h"
#include "Utf8Scan.h"
#include "platform/LongOperation.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
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
    if (FileIoResult opened = TextFileReader::Open(strFile, file, DocumentCapacity::Largest()); !opened.ok())
        return opened;
    return ReadTextFile(file, file.size(), encoding);
}

// The file is read on a worker thread into a document of its own; the
// interface thread draws and answers the progress indicator meanwhile. The
// editor takes no input until the new document is swapped in, and keeps its
// old text when the read fails or is stopped.
FileIoResult clsScintilla::ReadTextFile(QFile &file, qint64 size, const std::optional<TextEncoding> &encoding)
{
    m_loading = true;
    m_editor->setEnabled(false);
    DocumentLoader::Sizes sizes;
    sizes.readChunk = m_readChunkSize;
    const bool previewed = ShowPreview(file, size, encoding);
    BackgroundLoad load(*m_editor, file, size, encoding, sizes);
    WaitForLoad(load, size, QFileInfo(file.fileName()).fileName());
    BackgroundLoad::Outcome outcome = load.Take();
    if (outcome.document)
        SwapInLoaded(outcome.document, size);
    else if (previewed)
        ShowEmptyDocument(); // as it was
    m_editor->setEnabled(true);
    m_loading = false;

    if (!outcome.result.ok())
        return outcome.result;
    SendEditor(Sci::SCI_GOTOPOS, 0);
    SetSavePoint();
    ClearUndoBuffer();
    m_encoding = m_fileEncoding = outcome.decided;
    FollowFileLineEnds(outcome.lineEnds);
    m_longestLoadedLine = outcome.longestLine;
    SuitLongLines();
    emit OnModified();
    m_lineEnds->Take(outcome.lineEnds);
    emit EncodingChanged();
    return outcome.result;
}

qint64 &clsScintilla::LongLineBytes()
{
    static qint64 bytes = 1000 * 1000;
    return bytes;
}

// The component lays out a whole line whenever it draws or edits it, and
// with a few hundred bytes of it a time caches what it measured: a line of
// megabytes keeps the layouts of the page and many measured pieces, and is
// never wrapped (wrapping lays it out once more for every width).
void clsScintilla::SuitLongLines()
{
    const bool longLines = HasLongLines();
    SendEditor(Sci::SCI_SETLAYOUTCACHE, longLines ? Sci::SC_CACHE_PAGE : Sci::SC_CACHE_CARET);
    SendEditor(Sci::SCI_SETPOSITIONCACHE, longLines ? 65536 : 1024);
    if (longLines && m_WordWrap != vbFalse)
        WordWrap(vbFalse);
}

void clsScintilla::WaitForLoad(BackgroundLoad &load, qint64 size, const QString &name)
{
    std::optional<LongOperation> operation;
    if (size >= LoadProgressFrom) {
        operation.emplace(QStringLiteral("正在打开“%1”").arg(name));
        operation->SetTotal(size);
    }
    load.Start();
    while (!load.WaitFor(std::chrono::milliseconds(10))) {
        if (!operation) {
            QCoreApplication::processEvents();
            continue;
        }
        operation->SetDone(load.BytesRead());
        if (!operation->Breathe())
            load.Stop();
    }
}

// What the component keeps with its document, not with the editor, goes
// over to the new one; its lexer gets the lists and properties again.
void clsScintilla::TakeDocument(void *document)
{
    static constexpr int Carried[][2] = {
        {Sci::SCI_GETCODEPAGE, Sci::SCI_SETCODEPAGE},     {Sci::SCI_GETEOLMODE, Sci::SCI_SETEOLMODE},
        {Sci::SCI_GETTABWIDTH, Sci::SCI_SETTABWIDTH},     {Sci::SCI_GETUSETABS, Sci::SCI_SETUSETABS},
        {Sci::SCI_GETINDENT, Sci::SCI_SETINDENT},         {Sci::SCI_GETTABINDENTS, Sci::SCI_SETTABINDENTS},
        {Sci::SCI_GETBACKSPACEUNINDENTS, Sci::SCI_SETBACKSPACEUNINDENTS},
        {Sci::SCI_GETREADONLY, Sci::SCI_SETREADONLY},
    };
    long values[std::size(Carried)];
    for (size_t i = 0; i < std::size(Carried); ++i)
        values[i] = SendEditor(Carried[i][0]);
    const long lexer = SendEditor(Sci::SCI_GETLEXER);

    m_editor->SendScintilla(Sci::SCI_SETDOCPOINTER, 0UL, document);
    m_editor->SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, document); // the editor holds it now

    for (size_t i = 0; i < std::size(Carried); ++i)
        SendEditor(Carried[i][1], values[i]);
    SendEditor(Sci::SCI_SETUNDOCOLLECTION, 1);
    SetLexer(lexer);
    m_colouring->Resume();
}

// A big file read into an empty window shows its first part at once (the
// window takes no input until all of it was read): the first line ends of
// it, when they are UTF-8, which nearly every such file is.
bool clsScintilla::ShowPreview(QFile &file, qint64 size, const std::optional<TextEncoding> &encoding)
{
    if (size < LoadProgressFrom || encoding || GetLen() > 0 || Modified())
        return false;
    QByteArray head(qsizetype(std::min<qint64>(size, PreviewBytes)), '\0');
    if (!file.seek(0) || file.read(head.data(), head.size()) != head.size())
        return false;
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    head.truncate(head.lastIndexOf('\n') + 1);
    if (head.isEmpty() || head.contains('\0') || Utf8Scan::FirstInvalid(head) >= 0)
        return false;
    void *document = LoaderFeed::DocumentHolding(*m_editor, head);
    if (!document)
        return false;
    TakeDocument(document);
    emit PreviewShown();
    return true;
}

void clsScintilla::ShowEmptyDocument()
{
    if (void *document = LoaderFeed::DocumentHolding(*m_editor, {}))
        TakeDocument(document);
}

// Swapping a huge document in and colouring its first screen (which the
// caller does next) each take tens of milliseconds: the window gets a turn
// between them, and shows what it showed until the screen is coloured.
void clsScintilla::SwapInLoaded(void *document, qint64 size)
{
    if (size < LoadProgressFrom) {
        TakeDocument(document);
        return;
    }
    QWidget *viewport = m_editor->viewport();
    viewport->setUpdatesEnabled(false);
    TakeDocument(document);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QTimer::singleShot(0, viewport, [viewport] { viewport->setUpdatesEnabled(true); });
}

void clsScintilla::ConvertEncoding(const TextEncoding &encoding)
{
    if (encoding == m_encoding)
        return;
    m_encoding = encoding;
    emit EncodingChanged();
}

// New line ends are of the kind the file uses most (counted as it was
// read), unless the user chose a kind.
void clsScintilla::FollowFileLineEnds(const LineEnds::Counts &counts)
{
    if (!m_lineBreakAssigned)
        SetLineBreak(LineEnds::MostUsedMode(counts));
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
