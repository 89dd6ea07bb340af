#ifndef SWARM_DIR_H
#define SWARM_DIR_H

// The direction of a step, clockwise from up on the screen (y grows downwards).
// A fixed underlying type keeps any int a valid value, so bad directions can be caught.
enum Dir : int { N, NE, E, SE, S, SW, W, NW, NONE };

#endif
