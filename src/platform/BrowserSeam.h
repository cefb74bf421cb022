#pragma once

#include "Seam.h"

#include <QUrl>

// Opens web pages in the user's browser (the desktop's URL opener). Tests
// install a recorder instead. Failures are silent: a missing browser is not
// the user's problem to be told about here.
class BrowserSeam : public Seam<BrowserSeam>
{
public:
    // The desktop's URL opener.
    static BrowserSeam &System();

    virtual ~BrowserSeam() = default;

    virtual void Open(const QUrl &url) = 0;
};
