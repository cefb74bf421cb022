#pragma once

#include "platform/BrowserSeam.h"

#include <QList>

// Remembers the pages it was asked to open instead of opening them.
class RecordingBrowser : public BrowserSeam
{
public:
    RecordingBrowser() { BrowserSeam::Install(this); }
    ~RecordingBrowser() override { BrowserSeam::Install(nullptr); }

    void Open(const QUrl &url) override { opened.append(url); }

    QList<QUrl> opened;
};
