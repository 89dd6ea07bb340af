#ifndef SWARM_MOUSE_H
#define SWARM_MOUSE_H

// The library's mouse handler; the game needs two buttons but never reads them.
class Mouse {
public:
    class MouseError {};
    class TooFewBtns : public MouseError {};

    // Throws TooFewBtns when there is no mouse or it has fewer than two buttons.
    Mouse();

    static bool installed;
};

extern Mouse* mouse;

#endif
