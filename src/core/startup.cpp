#include "core/startup.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <string>

#include "core/errors.h"
#include "core/ticks.h"
#include "platform/display.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"

bool libraryInstalled = false;

namespace {

// Without a system driver (no display to run on) every later library call would crash.
void installLibrary()
{
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        const std::string cause = allegro_error[0] != '\0'
                                      ? std::string(allegro_error)
                                      : "No system driver is available: is there a display to run on?";
        fatalError("Could not install the Allegro library.\n   " + cause);
    }
    libraryInstalled = true;
}

} // namespace

void installExceptionHandlers()
{
#if defined(__GLIBCXX__) || __cplusplus < 201703L
    // C++17 never calls it any more, but runtimes that still offer it keep it routed.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    std::set_unexpected(unexpectedHandler);
#pragma GCC diagnostic pop
#endif
    std::set_terminate(terminateHandler);
}

void unexpectedHandler() { fatalError("Unexpected exception."); }

void terminateHandler() { fatalError("Uncaught exception."); }

void initSystem()
{
    installLibrary();
    install_timer();
    install_int_ex(tickHandler, BPS_TO_TIMER(ticksPerSecond));
    installInput();
    openDisplay();
}

void installInput()
{
    keyboard = new Keyboard;
    try {
        mouse = new Mouse;
    } catch (const Mouse::TooFewBtns&) {
        fatalError("Sorry, your mouse has too few buttons.");
    }
}
