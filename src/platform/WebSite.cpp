#include "WebSite.h"

#include "BrowserSeam.h"
#include "SettingsStore.h"

const QString WebSite::DefaultAddress = QStringLiteral("https://www.ferrolan.example");
const QString WebSite::ReleasePage = QStringLiteral("/Quorvane/Release.htm");
const QString WebSite::UpgradePage = QStringLiteral("/Quorvane.html");
const QString WebSite::HomePage;

QString WebSite::Address()
{
    QString address = SettingsStore::GetSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"),
                                                QStringLiteral("SiteAddress"), DefaultAddress)
                          .trimmed();
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address.isEmpty() ? DefaultAddress : address;
}

QUrl WebSite::Page(const QString &path)
{
    return QUrl(Address() + path);
}

void WebSite::Open(const QString &path)
{
    const QUrl url = Page(path);
    if (url.isValid())
        BrowserSeam::Current().Open(url);
}
