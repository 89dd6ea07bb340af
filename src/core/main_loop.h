#ifndef SWARM_MAIN_LOOP_H
#define SWARM_MAIN_LOOP_H

class BallMonster;
class Player;

// The player that main creates; never deleted.
extern Player* player;

// Creates the player and adds it to the objects; a missing image is fatal.
void createPlayer();

// The steps of the main loop, in the order main calls them, after quitRequested:
// One logic tick for every tick the timer has signalled since the last frame.
void runPendingTicks(BallMonster& boss);
// Draws the swarm, the objects over it and the frame rate into screenBuffer.
void drawFrame(BallMonster& boss);
// Clears the buffer the next frame is drawn into.
void clearScreenBuffer(int color);

#endif
