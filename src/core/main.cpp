#include <allegro.h>

#include "core/main_loop.h"
#include "core/quit_requests.h"
#include "core/startup.h"
#include "gfx/gui.h"
#include "platform/display.h"
#include "world/ball_monster.h"

int main()
{
    installExceptionHandlers();
    initSystem();
    loadGuiBitmaps();
    createPlayer();
    const int black = makecol(0, 0, 0);
    clearScreenBuffer(black);
    BallMonster boss;
    while (!quitRequested()) {
        runPendingTicks(boss);
        drawFrame(boss);
        flipBuffer();
        clearScreenBuffer(black);
    }
    return 0;
}
END_OF_MAIN()
