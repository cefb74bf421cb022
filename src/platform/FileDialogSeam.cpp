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

    QStringList GetOpenFileNames(QWidget *owner, const FileDialogRequest &request) override
    {
        return QFileDialog::getOpenFileNames(owner, request.title, request.initialPath,
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


} // namespace

FileDialogSeam &FileDialogSeam::System()
{
    static QtFileDialogs system;
    return system;
}
