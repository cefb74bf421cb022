#include "X11Window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <cstdio>

namespace deskbench {

X11Window::X11Window(Display *display)
    : display_(display), root_(DefaultRootWindow(display)),
      clientList_(XInternAtom(display, "_NET_CLIENT_LIST", False)),
      wmPid_(XInternAtom(display, "_NET_WM_PID", False)),
      protocols_(XInternAtom(display, "WM_PROTOCOLS", False)),
      ping_(XInternAtom(display, "_NET_WM_PING", False)),
      activeWindow_(XInternAtom(display, "_NET_ACTIVE_WINDOW", False))
{
}

namespace {

// The 32-bit items of a property (longs in Xlib's API), freed by the caller.
unsigned long *Property(Display *display, Window window, Atom name, Atom type, unsigned long *count)
{
    Atom actualType = None;
    int format = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    *count = 0;
    if (XGetWindowProperty(display, window, name, 0, 4096, False, type, &actualType, &format, count, &after,
                           &data) != Success || format != 32) {
        if (data)
            XFree(data);
        *count = 0;
        return nullptr;
    }
    return reinterpret_cast<unsigned long *>(data);
}

} // namespace

Window X11Window::FindTopLevel(int pid) const
{
    unsigned long count = 0;
    unsigned long *clients = Property(display_, root_, clientList_, XA_WINDOW, &count);
    Window best = None;
    long bestArea = 0;
    for (unsigned long i = 0; i < count; ++i) {
        unsigned long pids = 0;
        unsigned long *owner = Property(display_, clients[i], wmPid_, XA_CARDINAL, &pids);
        const bool ours = owner && pids == 1 && long(owner[0]) == pid;
        if (owner)
            XFree(owner);
        XWindowAttributes attributes;
        if (!ours || !XGetWindowAttributes(display_, clients[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        const long area = long(attributes.width) * attributes.height;
        if (area > bestArea) {
            bestArea = area;
            best = clients[i];
        }
    }
    if (clients)
        XFree(clients);
    return best;
}

bool X11Window::ListsPing(Window window) const
{
    Atom *protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display_, window, &protocols, &count))
        return false;
    const bool listed = std::find(protocols, protocols + count, ping_) != protocols + count;
    XFree(protocols);
    return listed;
}

Box X11Window::Bounds(Window window) const
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes) || attributes.map_state != IsViewable)
        return {};
    return {0, 0, attributes.width, attributes.height};
}

Image X11Window::Grab(Window window, Box box) const
{
    const Box bounds = Bounds(window);
    const int left = std::max(box.x, 0), top = std::max(box.y, 0);
    const int right = std::min(box.x + box.width, bounds.width);
    const int bottom = std::min(box.y + box.height, bounds.height);
    Image image;
    if (right <= left || bottom <= top)
        return image;
    XImage *grabbed = XGetImage(display_, window, left, top, unsigned(right - left), unsigned(bottom - top),
                                AllPlanes, ZPixmap);
    if (!grabbed)
        return image;
    image.width = right - left;
    image.height = bottom - top;
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    const bool plain32 = grabbed->bits_per_pixel == 32 && grabbed->red_mask == 0xff0000 &&
                         grabbed->green_mask == 0xff00 && grabbed->blue_mask == 0xff;
    for (int y = 0; y < image.height; ++y) {
        const auto *row = reinterpret_cast<const uint32_t *>(grabbed->data + size_t(y) * size_t(grabbed->bytes_per_line));
        for (int x = 0; x < image.width; ++x) {
            // The usual 24-bit TrueColor screen is read directly; anything
            // else through Xlib's slower per-pixel call.
            const unsigned long pixel = plain32 ? row[x] : XGetPixel(grabbed, x, y);
            image.pixels[size_t(y) * size_t(image.width) + size_t(x)] = {
                uint8_t((pixel & grabbed->red_mask) >> __builtin_ctzl(grabbed->red_mask)),
                uint8_t((pixel & grabbed->green_mask) >> __builtin_ctzl(grabbed->green_mask)),
                uint8_t((pixel & grabbed->blue_mask) >> __builtin_ctzl(grabbed->blue_mask))};
        }
    }
    XDestroyImage(grabbed);
    return image;
}

void X11Window::Ping(Window window, unsigned long serial) const
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(ping_);
    event.xclient.data.l[1] = long(serial);
    event.xclient.data.l[2] = long(window);
    XSendEvent(display_, window, False, NoEventMask, &event);
}

unsigned long X11Window::PingAnswer(const XEvent &event) const
{
    if (event.type != ClientMessage || event.xclient.message_type != protocols_ || event.xclient.format != 32 ||
        Atom(event.xclient.data.l[0]) != ping_)
        return 0;
    return static_cast<unsigned long>(event.xclient.data.l[1]);
}

void X11Window::Activate(Window window) const
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = activeWindow_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // a pager: the window manager obeys
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display_);
}

bool X11Window::Tap(const std::string &keysymName, bool control) const
{
    const KeySym keysym = XStringToKeysym(keysymName.c_str());
    const KeyCode key = keysym == NoSymbol ? 0 : XKeysymToKeycode(display_, keysym);
    const KeyCode ctrl = XKeysymToKeycode(display_, XK_Control_L);
    if (!key || (control && !ctrl))
        return false;
    if (control)
        XTestFakeKeyEvent(display_, ctrl, True, CurrentTime);
    XTestFakeKeyEvent(display_, key, True, CurrentTime);
    XTestFakeKeyEvent(display_, key, False, CurrentTime);
    if (control)
        XTestFakeKeyEvent(display_, ctrl, False, CurrentTime);
    XFlush(display_);
    return true;
}

} // namespace deskbench
