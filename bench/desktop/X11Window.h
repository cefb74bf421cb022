// The X requests the desktop probe makes of another program's window.
#pragma once

#include "Pixels.h"

#include <X11/Xlib.h>
#include <string>

namespace deskbench {

class X11Window
{
public:
    explicit X11Window(Display *display);

    // The largest viewable top-level window the window manager lists for
    // the process, or None.
    Window FindTopLevel(int pid) const;
    bool ListsPing(Window window) const;

    // The part of the window's image inside the box (clipped to the
    // window); an empty image if the window is not viewable.
    Image Grab(Window window, Box box) const;
    Box Bounds(Window window) const;

    // A _NET_WM_PING carrying `serial` as its timestamp; the program answers
    // with a ClientMessage to the root window carrying the same.
    void Ping(Window window, unsigned long serial) const;
    // The serial of a ping answer, or 0 if the event is something else.
    unsigned long PingAnswer(const XEvent &event) const;

    void Activate(Window window) const;
    // Presses and releases the key of a keysym name ("End", "a", "space")
    // with Control held if asked, through XTest.
    bool Tap(const std::string &keysymName, bool control) const;

private:
    Display *display_;
    Window root_;
    Atom clientList_, wmPid_, protocols_, ping_, activeWindow_;
};

} // namespace deskbench
