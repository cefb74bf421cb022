#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmMain mainWindow;
    mainWindow.show();
    mainWindow.OpenAtStart({});
    return app.exec();
}
