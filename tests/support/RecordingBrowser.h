#pragma once

#include "SeamDouble.h"
#include "platform/BrowserSeam.h"

#include <QList>

// Remembers the pages it was asked to open instead of opening them.
class RecordingBrowser : public SeamDouble<BrowserSeam>
{
public:
    void Open(const QUrl &url) override { opened.append(url); }

    QList<QUrl> opened;
};
