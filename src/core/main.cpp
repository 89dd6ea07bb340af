#include <allegro.h>

#include "core/main_loop.h"
#include "core/startup.h"
#include "platform/display.h"

int main()
{
    installExceptionHandlers();
    initSystem();
    const int black = makecol(0, 0, 0);
    clearScreenBuffer(black);
    while (!escapePressed()) {
        runPendingTicks();
        drawFrame();
        flipBuffer();
        clearScreenBuffer(black);
    }
    return 0;
}
END_OF_MAIN()
