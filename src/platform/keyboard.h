#ifndef SWARM_KEYBOARD_H
#define SWARM_KEYBOARD_H

#include "core/dir.h"

// The library's keyboard handler, installed once after the library.
class Keyboard {
public:
    Keyboard();
    // The direction of the arrow keys held now; NONE for none, opposites or three or more.
    // It reads the library's key array only, so it needs no object.
    static Dir dir();

    static bool installed;
};

extern Keyboard* keyboard;

#endif
