#include "core/quit_requests.h"

#include <allegro.h>

#include <atomic>
#include <csignal>

namespace {

// Set from the library's input and window threads and from signal handlers.
std::atomic<bool> requested{false};

void request() { requested = true; }

void onSignal(int) { requested = true; }

// A tap shorter than a frame would fall between two looks at key[KEY_ESC]; the callback sees every press.
void onKeyEvent(int scancode)
{
    if (scancode == KEY_ESC)  // released keys carry the top bit
        requested = true;
}

}  // namespace

void listenForQuitRequests()
{
    // The library ignores the close button by default; a player expects it to quit like Escape.
    set_close_button_callback(request);
    keyboard_lowlevel_callback = onKeyEvent;
    // Ctrl+C, a terminal hanging up, or a polite kill: the loop ends and the display is restored.
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
#ifdef SIGHUP
    std::signal(SIGHUP, onSignal);
#endif
}

bool quitRequested() { return key[KEY_ESC] != 0 || requested; }
