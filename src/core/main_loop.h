#ifndef SWARM_MAIN_LOOP_H
#define SWARM_MAIN_LOOP_H

// The steps of the game's main loop, in the order main calls them.

// Escape ends the game; tested once per frame, before the frame.
bool escapePressed();
// One logic tick for every tick the timer has signalled since the last frame.
void runPendingTicks();
// Draws the world and the frame rate into screenBuffer.
void drawFrame();
// Clears the buffer the next frame is drawn into.
void clearScreenBuffer(int color);

#endif
