#include "platform/x11.h"

#include <allegro.h>

#ifdef ALLEGRO_WITH_XWINDOWS
#include <X11/Xlib.h>
#include <unistd.h>
#include <xalleg.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

// The library's window icon, read when the window is made: not in its public headers.
extern "C" void* allegro_icon;

namespace {

#include "swarm_icon.xpm"  // swarmIcon: the ship, made from gfx/player.bmp at build time

// Called by Xlib on whichever thread finds the connection gone. The exit handlers would tear
// the library down under the other threads, hence _exit; a box cannot show without a display.
int onDisplayLost(Display* display)
{
    static std::atomic_flag reported = ATOMIC_FLAG_INIT;
    if (reported.test_and_set())
        for (;;)
            pause();  // the first thread reports and ends the process
    const std::string text =
        "Fatal Error:\n   Lost the connection to the display " + std::string(DisplayString(display)) + ".\n";
    // If standard error is gone too, nothing is left to tell; the status still says it.
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text.data(), text.size());
    _exit(1);
}

}  // namespace

void exitWhenTheDisplayIsLost()
{
    // A write to a dead server must come back as an error for Xlib to report, not end us silently.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(onDisplayLost);
}

void identifyTheWindow()
{
    xwin_set_window_name("swarm", "Swarm");
    allegro_icon = const_cast<char**>(swarmIcon);
}

std::string whyNoSystemDriver()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return "No display to run on: DISPLAY is not set.";
    Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return "Could not open the display " + std::string(name) + ".";
    XCloseDisplay(display);
    return "The display " + std::string(name) + " answers, but the library gave no reason.";
}

#else

void exitWhenTheDisplayIsLost() {}

void identifyTheWindow() {}

std::string whyNoSystemDriver() { return "The library gave no reason."; }

#endif
