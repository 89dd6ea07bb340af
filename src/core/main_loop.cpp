#include "core/main_loop.h"

#include <allegro.h>

#include "core/errors.h"
#include "core/ticks.h"
#include "gfx/bmp.h"
#include "platform/display.h"
#include "world/ball_monster.h"
#include "world/player.h"

Player* player = nullptr;

void createPlayer()
{
    try {
        player = new Player;
    } catch (const Bmp::LoadError& e) {
        fatalError("Error loading player bitmap.\n   " + e.getMsg());
    }
    objects.push_back(player);
}

void runPendingTicks(BallMonster& boss)
{
    // No upper bound: after a long frame every pending tick runs before the next drawing.
    while (!noTickPending()) {
        boss.update();
        updateObjects();
    }
}

void drawFrame(BallMonster& boss)
{
    BITMAP* target = screenBuffer->bitmap;
    acquire_bitmap(target);
    boss.draw();
    drawObjects();
    release_bitmap(target);
    updateFps();
}

void clearScreenBuffer(int color) { clear_to_color(screenBuffer->bitmap, color); }
