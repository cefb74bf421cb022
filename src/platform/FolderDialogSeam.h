#pragma once

#include "Seam.h"

#include <QString>

class QWidget;

// The dialog that chooses a folder goes through here, so tests can answer
// it without a person at the screen. An empty answer is a cancel.
class FolderDialogSeam : public Seam<FolderDialogSeam>
{
public:
    // Qt's folder dialog.
    static FolderDialogSeam &System();

    virtual ~FolderDialogSeam() = default;

    virtual QString GetExistingDirectory(QWidget *owner, const QString &title, const QString &initialFolder) = 0;
};
