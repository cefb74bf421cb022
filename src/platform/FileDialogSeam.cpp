#include "FileDialogSeam.h"

#include <QFileDialog>

namespace {

class QtFileDialogs : public FileDialogSeam
{
public:
    QString GetOpenFileName(QWidget *owner, const FileDialogRequest &request) override
    {
        return QFileDialog::getOpenFileName(owner, request.title, request.initialPath,
                                            request.filters.join(QStringLiteral(";;")));
    }

    QString GetSaveFileName(QWidget *owner, const FileDialogRequest &request) override
    {
        const QFileDialog::Options options =
            request.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
        return QFileDialog::getSaveFileName(owner, request.title, request.initialPath,
                                            request.filters.join(QStringLiteral(";;")), nullptr, options);
    }
};

QtFileDialogs g_qtDialogs;
FileDialogSeam *g_current = &g_qtDialogs;

} // namespace

FileDialogSeam &FileDialogSeam::Current()
{
    return *g_current;
}

void FileDialogSeam::Install(FileDialogSeam *replacement)
{
    g_current = replacement ? replacement : &g_qtDialogs;
}
