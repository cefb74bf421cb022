#include "BrowserSeam.h"

#include <QDesktopServices>

namespace {

class DesktopBrowser : public BrowserSeam
{
public:
    void Open(const QUrl &url) override { QDesktopServices::openUrl(url); }
};


} // namespace

BrowserSeam &BrowserSeam::System()
{
    static DesktopBrowser system;
    return system;
}
