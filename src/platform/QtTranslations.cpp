#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcLanguage, "ferrolan.language")

QLocale QtTranslations::InterfaceLocale()
{
    return QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
}

bool QtTranslations::Install(QCoreApplication &app, const QLocale &locale)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        qCWarning(lcLanguage) << "no qtbase catalogue for" << locale.name() << "in" << folder;
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
