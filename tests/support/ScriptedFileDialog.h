#pragma once

#include "SeamDouble.h"
#include "platform/FileDialogSeam.h"

#include <QList>

// Chooses files from a script (an empty answer cancels) and remembers what
// each dialog was asked to show.
class ScriptedFileDialog : public SeamDouble<FileDialogSeam>
{
public:
    struct Shown
    {
        bool save;
        FileDialogRequest request;
    };

    void Answer(const QString &path) { m_answers.append({path}); }
    // The files chosen together in one open dialog (several selected).
    void AnswerMany(const QStringList &paths) { m_answers.append(paths); }

    QString GetOpenFileName(QWidget *owner, const FileDialogRequest &request) override;
    QStringList GetOpenFileNames(QWidget *owner, const FileDialogRequest &request) override;
    QString GetSaveFileName(QWidget *owner, const FileDialogRequest &request) override;

    QList<Shown> shown;

private:
    QStringList Next();
    QList<QStringList> m_answers;
};
