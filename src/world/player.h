#ifndef SWARM_PLAYER_H
#define SWARM_PLAYER_H

#include "world/obj.h"

// The keyboard-steered fighter, starting centred at the bottom of the screen.
class Player : public Obj {
public:
    // Throws Bmp::LoadError when "gfx/player.bmp" cannot be loaded.
    Player();
    // One pixel in the direction of the arrow keys, unless another object is in the way.
    void update() override;
};

#endif
