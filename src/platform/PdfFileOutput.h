#pragma once

#include "SafeFileWriter.h"

#include <QString>

class QPrinter;

// Printing to a PDF file: the printer starts by emptying its file, and a
// print that stops half way still ends a file. So the pages go to a
// temporary file first, and the file the user chose gets them through
// SafeFileWriter only once the whole print went well; otherwise it stays
// as it was (or is not made).
class PdfFileOutput
{
public:
    // Sends a printer that writes a PDF file to a temporary file; any other
    // printer is left alone.
    explicit PdfFileOutput(QPrinter &printer);
    // The temporary file goes; the printer is given its file name back.
    ~PdfFileOutput();
    PdfFileOutput(const PdfFileOutput &) = delete;
    PdfFileOutput &operator=(const PdfFileOutput &) = delete;

    bool ToFile() const { return !m_target.isEmpty(); }
    const QString &Target() const { return m_target; }
    // The printed pages into the chosen file.
    FileWriteResult Commit();

private:
    QPrinter &m_printer;
    QString m_target;
    QString m_temporary;
};
