#include "BrowserSeam.h"

#include <QDesktopServices>

namespace {

class DesktopBrowser : public BrowserSeam
{
public:
    void Open(const QUrl &url) override { QDesktopServices::openUrl(url); }
};

DesktopBrowser g_desktop;
BrowserSeam *g_current = &g_desktop;

} // namespace

BrowserSeam &BrowserSeam::Current()
{
    return *g_current;
}

void BrowserSeam::Install(BrowserSeam *replacement)
{
    g_current = replacement ? replacement : &g_desktop;
}
