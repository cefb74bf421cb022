#pragma once

#include <QUrl>

// Opens web pages in the user's browser (the desktop's URL opener). Tests
// install a recorder instead. Failures are silent: a missing browser is not
// the user's problem to be told about here.
class BrowserSeam
{
public:
    virtual ~BrowserSeam() = default;

    virtual void Open(const QUrl &url) = 0;

    static BrowserSeam &Current();
    static void Install(BrowserSeam *replacement);
};
