#pragma once

#include <QString>
#include <QUrl>

// The program's web site: one address for the help links, the About box's
// upgrade button and the generator line of exported pages. Kept in the
// settings store (application "ScintillaMDI", section "Settings", key
// "SiteAddress") so it can be changed without a new build.
class WebSite
{
public:
    static const QString DefaultAddress;

    static QString Address();
    static QUrl Page(const QString &path);
    static void Open(const QString &path);

    static const QString ReleasePage; // "/Quorvane/Release.htm"
    static const QString UpgradePage; // "/Quorvane.html"
    static const QString HomePage;    // the site itself
};
