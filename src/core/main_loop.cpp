#include "core/main_loop.h"

#include <allegro.h>

#include "core/ticks.h"
#include "gfx/bmp.h"
#include "platform/display.h"

bool escapePressed() { return key[KEY_ESC] != 0; }

void runPendingTicks()
{
    while (!noTickPending()) {
    }
}

void drawFrame()
{
    BITMAP* target = screenBuffer->bitmap;
    acquire_bitmap(target);
    release_bitmap(target);
    updateFps();
}

void clearScreenBuffer(int color) { clear_to_color(screenBuffer->bitmap, color); }
