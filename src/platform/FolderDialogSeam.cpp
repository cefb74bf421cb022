#include "FolderDialogSeam.h"

#include <QFileDialog>

namespace {

class QtFolderDialog : public FolderDialogSeam
{
public:
    QString GetExistingDirectory(QWidget *owner, const QString &title, const QString &initialFolder) override
    {
        return QFileDialog::getExistingDirectory(owner, title, initialFolder);
    }
};

} // namespace

FolderDialogSeam &FolderDialogSeam::System()
{
    static QtFolderDialog system;
    return system;
}
