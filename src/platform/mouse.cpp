#include "platform/mouse.h"

#include <allegro.h>

#include "core/errors.h"
#include "core/startup.h"

bool Mouse::installed = false;
Mouse* mouse = nullptr;

Mouse::Mouse()
{
    if (!libraryInstalled)
        fatalError("Attempt to install mouse before library has been initialized.");
    if (installed)
        fatalError("Attempt to install two mice.");
    // A negative count means no mouse at all.
    if (install_mouse() < 2)
        throw TooFewBtns();
    installed = true;
    // No graphics mode exists yet, so screen is null: this hides the pointer for good.
    show_mouse(screen);
}
