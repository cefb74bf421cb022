#include "ScriptedFileDialog.h"

QString ScriptedFileDialog::Next()
{
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

QString ScriptedFileDialog::GetOpenFileName(QWidget *, const FileDialogRequest &request)
{
    shown.append({false, request});
    return Next();
}

QString ScriptedFileDialog::GetSaveFileName(QWidget *, const FileDialogRequest &request)
{
    shown.append({true, request});
    return Next();
}
