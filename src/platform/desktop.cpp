#include "platform/desktop.h"

#include <allegro.h>

#if defined(ALLEGRO_WITH_XWINDOWS)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <xalleg.h>

namespace {

// The current desktop's work area as the window manager tells it: _NET_WORKAREA holds x, y, width and height for
// each desktop, the current one's first.
bool readWorkArea(Area& area)
{
    Atom type = None;
    int format = 0;
    unsigned long found = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(_xwin.display, "_NET_WORKAREA", False);
    const bool read = XGetWindowProperty(_xwin.display, DefaultRootWindow(_xwin.display), property, 0, 4, False,
                                         XA_CARDINAL, &type, &format, &found, &after, &data) == Success &&
                      format == 32 && found >= 4;
    if (read) {
        const long* values = reinterpret_cast<const long*>(data);  // Xlib hands 32-bit items over as longs
        area = {static_cast<int>(values[2]), static_cast<int>(values[3])};
    }
    if (data != nullptr)
        XFree(data);
    return read && area.width > 0 && area.height > 0;
}

}  // namespace

Area workArea()
{
    Area area{0, 0};
    bool known = false;
    if (_xwin.display != nullptr) {  // none in the library's no-display mode
        XLOCK();
        known = readWorkArea(area);
        XUNLOCK();
    }
    if (!known)
        get_desktop_resolution(&area.width, &area.height);
    return area;
}

bool canCoverTheScreen() { return true; }

// The window manager's full-screen state (EWMH), asked for as a client asks it: a message to the root window.
// Without a window manager the window, as large as the screen at its top left corner, covers it all the same.
void coverTheScreen(bool cover)
{
    XLOCK();
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = _xwin.wm_window;  // the managed window, parent of the one drawn in
    message.xclient.message_type = XInternAtom(_xwin.display, "_NET_WM_STATE", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = cover ? 1 : 0;  // _NET_WM_STATE_ADD or _REMOVE
    message.xclient.data.l[1] = static_cast<long>(XInternAtom(_xwin.display, "_NET_WM_STATE_FULLSCREEN", False));
    message.xclient.data.l[3] = 1;  // from an application
    XSendEvent(_xwin.display, DefaultRootWindow(_xwin.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XFlush(_xwin.display);
    XUNLOCK();
}

#elif defined(ALLEGRO_WINDOWS)
#include <winalleg.h>

namespace {

LONG_PTR windowStyle = 0;  // the window's own, while it covers the screen

}  // namespace

Area workArea()
{
    RECT area{};
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0))
        return {area.right - area.left, area.bottom - area.top};
    Area screen{0, 0};
    get_desktop_resolution(&screen.width, &screen.height);
    return screen;
}

bool canCoverTheScreen() { return true; }

// A window without a frame, as large as its monitor, on top: what Windows and Wine take for a full-screen window.
void coverTheScreen(bool cover)
{
    HWND window = win_get_window();
    if (cover) {
        windowStyle = GetWindowLongPtr(window, GWL_STYLE);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfo(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        SetWindowLongPtr(window, GWL_STYLE, (windowStyle & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
        SetWindowPos(window, HWND_TOP, monitor.rcMonitor.left, monitor.rcMonitor.top,
                     monitor.rcMonitor.right - monitor.rcMonitor.left,
                     monitor.rcMonitor.bottom - monitor.rcMonitor.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    } else if (windowStyle != 0) {
        SetWindowLongPtr(window, GWL_STYLE, windowStyle);
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
}

#else

Area workArea() { return {0, 0}; }

bool canCoverTheScreen() { return false; }

void coverTheScreen(bool) {}

#endif
