#pragma once

#include <QLocale>

class QCoreApplication;

// Qt's own texts (the file, colour and print dialogs, the standard buttons,
// "... already exists. Do you want to replace it?") in the language of the
// program's own texts, which are Simplified Chinese whatever the desktop's
// language is.
class QtTranslations
{
public:
    static QLocale InterfaceLocale();

    // Loads Qt's base catalogue for the locale from Qt's translations folder
    // and installs it for the application's life. A missing catalogue is
    // logged (category "ferrolan.language"); the texts then stay English.
    static bool Install(QCoreApplication &app, const QLocale &locale = InterfaceLocale());
};
