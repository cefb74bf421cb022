#include "ScriptedFileDialog.h"

QStringList ScriptedFileDialog::Next()
{
    return m_answers.isEmpty() ? QStringList() : m_answers.takeFirst();
}

QString ScriptedFileDialog::GetOpenFileName(QWidget *, const FileDialogRequest &request)
{
    shown.append({false, request});
    return Next().value(0);
}

QStringList ScriptedFileDialog::GetOpenFileNames(QWidget *, const FileDialogRequest &request)
{
    shown.append({false, request});
    QStringList paths = Next();
    paths.removeAll(QString()); // an empty answer cancels
    return paths;
}

QString ScriptedFileDialog::GetSaveFileName(QWidget *, const FileDialogRequest &request)
{
    shown.append({true, request});
    return Next().value(0);
}
