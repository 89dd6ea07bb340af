#include "core/errors.h"

#include <allegro.h>

#include <csignal>
#include <cstdlib>
#include <utility>

#ifdef __linux__
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

#include "core/startup.h"

namespace {

#ifdef __linux__
pid_t game = 0;

// Runs in the child the library forks for the message box: the box goes when the game goes.
void dieWithTheGame()
{
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != game)  // the game ended before the line above
        _exit(1);
}
#endif

// The game is ending: a request to quit now ends it, box and all, rather than waiting for the box.
void letSignalsEndTheGame()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#ifdef SIGHUP
    std::signal(SIGHUP, SIG_DFL);
#endif
#ifdef __linux__
    game = getpid();
    pthread_atfork(nullptr, nullptr, dieWithTheGame);
#endif
}

}  // namespace

Exception::Exception(std::string msg) : msg(std::move(msg)) {}

std::string Exception::getMsg() const { return msg; }

void fatalError(std::string text)
{
    // Changing the graphics mode before the library is installed would crash it.
    if (libraryInstalled)
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    text = "Fatal Error:\n   " + text;
    letSignalsEndTheGame();
    // The text is data: a percent sign in a library error must show as it is.
    allegro_message("%s", text.c_str());
    std::exit(1);
}
