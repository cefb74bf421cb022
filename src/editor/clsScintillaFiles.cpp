// Loading a document from a file and saving it to one.
#include "clsScintilla.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <Qsci/qsciscintillabase.h>
#include <limits>

using Sci = QsciScintillaBase;

namespace {

// Read in chunks of this size; the interface gets a turn between them.
constexpr qint64 ReadChunkSize = 10000001;

// The component counts positions in 32 bits.
constexpr qint64 LargestDocument = std::numeric_limits<std::int32_t>::max() - 1;

QString ReadFailure(const QFile &file)
{
    if (file.error() == QFileDevice::PermissionsError || !QFileInfo(file.fileName()).isReadable())
        return QStringLiteral("没有读取这个文件的权限。");
    return QStringLiteral("读取时出错（%1）。").arg(file.errorString());
}

QString WriteFailure(const QString &path, const QSaveFile &file)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("这个名字已被一个文件夹占用。");
    if (file.error() == QFileDevice::PermissionsError
        || (info.exists() && !info.isWritable()))
        return QStringLiteral("没有写入这个位置的权限。");
    if (file.errorString().contains(QLatin1String("No space"), Qt::CaseInsensitive))
        return QStringLiteral("磁盘空间不足。");
    return QStringLiteral("写入时出错（%1）。").arg(file.errorString());
}

// The end-of-line mode decides what is written: in CR mode every LF byte is
// left out, in LF mode every CR byte; CR LF mode writes the bytes unchanged.
QByteArray FilteredForLineBreak(const char *data, qint64 length, long lineBreak)
{
    const char dropped = (lineBreak == Sci::SC_EOL_CR) ? '\n' : '\r';
    QByteArray out;
    out.reserve(length);
    for (qint64 i = 0; i < length; ++i)
        if (data[i] != dropped)
            out.append(data[i]);
    return out;
}

} // namespace

FileIoResult clsScintilla::LoadFile(const QString &strFile)
{
    if (!m_editor)
        return FileIoResult::Failure(QStringLiteral("编辑器不可用。"));
    const QFileInfo info(strFile);
    if (!info.exists())
        return FileIoResult::Missing();
    if (info.isDir())
        return FileIoResult::Failure(QStringLiteral("这是一个文件夹，不是文件。"));
    if (!info.isFile())
        return FileIoResult::Failure(QStringLiteral("这不是一个普通文件。"));

    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return FileIoResult::Failure(ReadFailure(file));
    const qint64 size = file.size();
    if (size > LargestDocument)
        return FileIoResult::Failure(QStringLiteral("文件太大（2 GB 或以上），无法打开。"));
    return ReadTextFile(file, size);
}

// The bytes go to the component unchanged, chunk by chunk, without undo
// history and without per-change reports; the loading editor takes no input
// while the interface handles its events between chunks.
FileIoResult clsScintilla::ReadTextFile(QFile &file, qint64 size)
{
    m_loading = true;
    m_editor->setEnabled(false);
    m_editor->BeginBulkOperation();
    const long wasReadOnly = SendEditor(Sci::SCI_GETREADONLY);
    SendEditor(Sci::SCI_SETREADONLY, 0);
    SendEditor(Sci::SCI_SETUNDOCOLLECTION, 0);
    SendEditor(Sci::SCI_CLEARALL);
    SendEditor(Sci::SCI_ALLOCATE, long(size + 1));

    FileIoResult result = FileIoResult::Success();
    QByteArray chunk;
    qint64 done = 0;
    while (done < size) {
        chunk.resize(std::min(ReadChunkSize, size - done));
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got <= 0) {
            result = FileIoResult::Failure(got < 0 ? ReadFailure(file)
                                                   : QStringLiteral("文件在读取时变短了。"));
            break;
        }
        SendDirectPtr(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(got), chunk.data());
        done += got;
        QCoreApplication::processEvents();
    }

    SendEditor(Sci::SCI_SETUNDOCOLLECTION, 1);
    SendEditor(Sci::SCI_SETREADONLY, wasReadOnly);
    SendEditor(Sci::SCI_GOTOPOS, 0);
    SetSavePoint();
    ClearUndoBuffer();
    m_editor->EndBulkOperation();
    m_editor->setEnabled(true);
    m_loading = false;
    return result;
}

FileIoResult clsScintilla::SaveToFile(const QString &strFile)
{
    const FileIoResult result = WriteTextFile(strFile);
    if (result.ok())
        SetSavePoint();
    return result;
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
    if (target.exists() && !target.isWritable())
        return FileIoResult::Failure(QStringLiteral("这个文件是只读的，或者没有写入它的权限。"));

    // The component's own buffer, made contiguous: no copy of the document
    // unless the end-of-line mode filters it.
    const long length = GetLen();
    const char *data = length > 0 ? static_cast<const char *>(m_editor->SendScintillaPtrResult(
                                        Sci::SCI_GETCHARACTERPOINTER))
                                  : "";
    QByteArray filtered;
    if (m_LineBreak == Sci::SC_EOL_CR || m_LineBreak == Sci::SC_EOL_LF) {
        filtered = FilteredForLineBreak(data, length, m_LineBreak);
        data = filtered.constData();
    }
    const qint64 bytes = filtered.isNull() ? length : filtered.size();

    QSaveFile file(strFile);
    if (!file.open(QIODevice::WriteOnly))
        return FileIoResult::Failure(WriteFailure(strFile, file));
    if (file.write(data, bytes) != bytes) {
        file.cancelWriting();
        return FileIoResult::Failure(WriteFailure(strFile, file));
    }
    if (!file.commit())
        return FileIoResult::Failure(WriteFailure(strFile, file));
    return FileIoResult::Success();
}
