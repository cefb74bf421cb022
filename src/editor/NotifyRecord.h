#pragma once

#include "subclass/WindowLayer.h"

#include <cstdint>

// The record that travels with WM_NOTIFY from the editing component to its
// host window: the component's notification, field for field in the order
// the component publishes them. Receivers copy it and never write through
// the pointer they were given.
struct NotifyRecord
{
    win::HWND hwndFrom = 0;
    std::intptr_t idFrom = 0;
    int code = 0;
    long position = 0;
    int ch = 0;
    int modifiers = 0;
    int modificationType = 0;
    const char *text = nullptr;
    int length = 0;
    int linesAdded = 0;
    int message = 0;
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;
    int line = 0;
    int foldLevelNow = 0;
    int foldLevelPrev = 0;
    int margin = 0;
    int listType = 0;
    int x = 0;
    int y = 0;
    int token = 0;
    int updated = 0;
};

// Notification codes of the editing component.
namespace scn {
constexpr int STYLENEEDED = 2000;
constexpr int CHARADDED = 2001;
constexpr int SAVEPOINTREACHED = 2002;
constexpr int SAVEPOINTLEFT = 2003;
constexpr int MODIFYATTEMPTRO = 2004;
constexpr int KEY = 2005;
constexpr int DOUBLECLICK = 2006;
constexpr int UPDATEUI = 2007;
constexpr int MODIFIED = 2008;
constexpr int MACRORECORD = 2009;
constexpr int MARGINCLICK = 2010;
constexpr int NEEDSHOWN = 2011;
constexpr int PAINTED = 2013;
constexpr int USERLISTSELECTION = 2014;
constexpr int URIDROPPED = 2015;
constexpr int DWELLSTART = 2016;
constexpr int DWELLEND = 2017;
constexpr int ZOOM = 2018;
constexpr int HOTSPOTCLICK = 2019;
constexpr int HOTSPOTDOUBLECLICK = 2020;
constexpr int CALLTIPCLICK = 2021;
constexpr int AUTOCSELECTION = 2022;
constexpr int INDICATORCLICK = 2023;
constexpr int INDICATORRELEASE = 2024;
constexpr int AUTOCCANCELLED = 2025;
constexpr int AUTOCCHARDELETED = 2026;
constexpr int HOTSPOTRELEASECLICK = 2027;
constexpr int FOCUSIN = 2028;
constexpr int FOCUSOUT = 2029;
constexpr int AUTOCCOMPLETED = 2030;
constexpr int MARGINRIGHTCLICK = 2031;
constexpr int AUTOCSELECTIONCHANGE = 2032;
} // namespace scn
