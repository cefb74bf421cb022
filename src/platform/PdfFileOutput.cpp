#include "PdfFileOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

namespace {

// Beside the chosen file where that folder takes one (the same disk), else
// in the temporary folder; empty when neither does.
QString MakeTemporary(const QString &target)
{
    for (const QString &folder : {QFileInfo(target).absolutePath(), QDir::tempPath()}) {
        QTemporaryFile file(folder + QStringLiteral("/.ferrolan-print-XXXXXX.pdf"));
        file.setAutoRemove(false);
        if (file.open())
            return file.fileName();
    }
    return QString();
}

} // namespace

PdfFileOutput::PdfFileOutput(QPrinter &printer) : m_printer(printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    const QString temporary = MakeTemporary(printer.outputFileName());
    if (temporary.isEmpty())
        return; // the printer writes the file itself, as before
    m_target = printer.outputFileName();
    m_temporary = temporary;
    printer.setOutputFileName(m_temporary);
}

PdfFileOutput::~PdfFileOutput()
{
    if (!ToFile())
        return;
    QFile::remove(m_temporary);
    m_printer.setOutputFileName(m_target);
}

FileWriteResult PdfFileOutput::Commit()
{
    if (!ToFile())
        return {};
    QFile pages(m_temporary);
    if (!pages.open(QIODevice::ReadOnly))
        return {false, 0, QStringLiteral("读不回打印出的页面（%1）。").arg(pages.errorString())};
    SafeFileWriter file(m_target);
    if (FileWriteResult opened = file.Open(); !opened)
        return opened;
    constexpr qint64 Piece = 4 * 1024 * 1024;
    while (!pages.atEnd()) {
        const QByteArray piece = pages.read(Piece);
        if (piece.isEmpty() && pages.error() != QFileDevice::NoError)
            return {false, 0, QStringLiteral("读不回打印出的页面（%1）。").arg(pages.errorString())};
        if (!file.Write(piece))
            break;
    }
    return file.Commit();
}
