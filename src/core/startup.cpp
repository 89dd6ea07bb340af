#include "core/startup.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <string>

#include "core/errors.h"
#include "core/requests.h"
#include "core/ticks.h"
#include "platform/display.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/x11.h"

bool libraryInstalled = false;

namespace {

// Without a system driver every later library call would crash.
void installLibrary()
{
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0)
        fatalError("Could not install the Allegro library.\n   " +
                   (allegro_error[0] != '\0' ? std::string(allegro_error) : whyNoSystemDriver()));
    libraryInstalled = true;
    exitWhenTheDisplayIsLost();
    identifyTheWindow();
}

// Without it nothing would move and the frame rate would read 0: a silent freeze.
void startTicks()
{
    if (install_timer() != 0)
        fatalError("Could not install the timer.");
    if (install_int_ex(tickHandler, BPS_TO_TIMER(ticksPerSecond)) != 0)
        fatalError("Could not start the 240 Hz tick timer.");
}

}  // namespace

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
    startTicks();
    installInput();
    // Before the slow loading of the art: a quit asked for meanwhile ends the game at the loop.
    listenForRequests();
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
