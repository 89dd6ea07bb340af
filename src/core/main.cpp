#include <allegro.h>

#include "core/main_loop.h"
#include "core/requests.h"
#include "core/startup.h"
#include "gfx/gui.h"
#include "platform/display.h"
#include "world/ball_monster.h"

int main(int argc, char* argv[])
{
    installExceptionHandlers();
    initSystem();
    if (fullScreenAsked(argc, argv))
        toggleFullScreen();
    loadGuiBitmaps();
    createPlayer();
    const int black = makecol(0, 0, 0);
    clearScreenBuffer(black);
    BallMonster boss;
    while (!quitRequested()) {
        if (fullScreenRequested())
            toggleFullScreen();
        runPendingTicks(boss);
        drawFrame(boss);
        flipBuffer();
        clearScreenBuffer(black);
    }
    return 0;
}
END_OF_MAIN()
