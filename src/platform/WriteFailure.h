#pragma once

#include <QList>
#include <QString>

// One file that could not be written, and why (in Chinese, as the writer
// gives it).
struct WriteFailure
{
    QString path;
    QString reason;
};

// What the user asked to be written.
enum class WrittenFile { Document, HtmlPage, LanguageFile, ReplacedFile };

// The one wording of a failed write, whatever was being written: which file,
// why, and what became of the user's data. Every writer goes through
// SafeFileWriter, so a file that was there before is still whole.
QString WriteFailureMessage(WrittenFile kind, const QList<WriteFailure> &failures);
