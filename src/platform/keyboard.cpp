#include "platform/keyboard.h"

#include <allegro.h>

#include "core/errors.h"
#include "core/startup.h"

bool Keyboard::installed = false;
Keyboard* keyboard = nullptr;

Keyboard::Keyboard()
{
    if (!libraryInstalled)
        fatalError("Attempt to install keyboard before library is loaded.");
    if (installed)
        fatalError("Attempt to install two keyboards.");
    if (install_keyboard() != 0)
        fatalError("Could not install the keyboard.");
    installed = true;
}

Dir Keyboard::dir()
{
    // Each entry is read once, so the answer fits one consistent set of states.
    const bool up = key[KEY_UP];
    const bool right = key[KEY_RIGHT];
    const bool down = key[KEY_DOWN];
    const bool left = key[KEY_LEFT];
    // Three or four keys always hold an opposite pair.
    if ((up && down) || (left && right))
        return NONE;
    static const Dir byAxes[3][3] = {{NW, N, NE}, {W, NONE, E}, {SW, S, SE}};
    return byAxes[down - up + 1][right - left + 1];
}
