#include "platform/QtTranslations.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QtTranslations::Install(app);
    frmMain mainWindow;
    mainWindow.show();
    return app.exec();
}
