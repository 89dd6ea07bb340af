#include "core/requests.h"

#include <allegro.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace {

// Set from the library's input and window threads and from signal handlers.
std::atomic<bool> requested{false};
std::atomic<int> fullScreenPresses{0};
std::atomic<bool> f11Down{false};  // a key held repeats its press

void request() { requested = true; }

void onSignal(int) { requested = true; }

// A tap shorter than a frame would fall between two looks at key[KEY_ESC]; the callback sees every press.
void onKeyEvent(int scancode)
{
    if (scancode == KEY_ESC)  // released keys carry the top bit
        requested = true;
    if ((scancode & 0x7F) == KEY_F11) {
        const bool pressed = (scancode & 0x80) == 0;
        if (!f11Down.exchange(pressed) && pressed)
            ++fullScreenPresses;
    }
}

}  // namespace

void listenForRequests()
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

bool fullScreenRequested()
{
    for (int presses = fullScreenPresses; presses > 0; presses = fullScreenPresses)
        if (fullScreenPresses.compare_exchange_weak(presses, presses - 1))
            return true;
    return false;
}

bool fullScreenAsked(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--fullscreen") == 0)
            return true;
    return false;
}
