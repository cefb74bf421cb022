#pragma once

#include "Seam.h"

#include <QString>
#include <QStringList>

class QWidget;

// What a file dialog is asked to show.
struct FileDialogRequest
{
    QString title;
    QString initialPath;   // folder, or folder and file name offered
    QStringList filters;   // Qt filter entries, "Description (*.a *.b)"
    bool confirmOverwrite = false;
};

// The open and save dialogs go through here, so tests can choose the file
// (or cancel) without a person at the screen. An empty answer is a cancel.
class FileDialogSeam : public Seam<FileDialogSeam>
{
public:
    // Qt's file dialogs.
    static FileDialogSeam &System();

    virtual ~FileDialogSeam() = default;

    virtual QString GetOpenFileName(QWidget *owner, const FileDialogRequest &request) = 0;
    // Several files at once; an empty list is a cancel.
    virtual QStringList GetOpenFileNames(QWidget *owner, const FileDialogRequest &request) = 0;
    virtual QString GetSaveFileName(QWidget *owner, const FileDialogRequest &request) = 0;
};
