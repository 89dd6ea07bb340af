#include "core/errors.h"

#include <allegro.h>

#include <cstdlib>
#include <utility>

#include "core/startup.h"

Exception::Exception(std::string msg) : msg(std::move(msg)) {}

std::string Exception::getMsg() const { return msg; }

void fatalError(std::string text)
{
    // Changing the graphics mode before the library is installed would crash it.
    if (libraryInstalled)
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    text = "Fatal Error:\n   " + text;
    // The text is data: a percent sign in a library error must show as it is.
    allegro_message("%s", text.c_str());
    std::exit(1);
}
