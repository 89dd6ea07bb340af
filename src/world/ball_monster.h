#ifndef SWARM_BALL_MONSTER_H
#define SWARM_BALL_MONSTER_H

#include <list>

#include "world/boss.h"

class Bmp;

// A swarm of 250 balls around a centre that drifts down one pixel per tick.
class BallMonster : public Boss {
public:
    // One ball: reverses inside the monster's circle, wanders outside it.
    class Ball {
    public:
        Ball(int x, int y, Bmp* image);
        // One tick against the circle of radius size around (centreX, centreY).
        void update(int centreX, int centreY, int size);
        void draw();

        float x, y;   // top-left corner of the sprite, pixels
        float speed;  // pixels per tick
        int heading;  // whole degrees, clockwise from +x; never normalised
        Bmp* image;   // the monster's sprite, not owned
    };

    // Loads "gfx/ball.bmp"; throws Bmp::LoadError when it cannot.
    BallMonster();
    ~BallMonster() override;
    BallMonster(const BallMonster&) = delete;
    BallMonster& operator=(const BallMonster&) = delete;

    // Called once per logic tick by the main loop, before the objects.
    void update() override;
    // Called once per frame into the cleared screenBuffer, before the objects.
    void draw() override;

    int x, y;  // centre, pixels
    int size;  // side of the starting square and radius of the circle
    Bmp* ballImage;
    std::list<Ball*> balls;
};

#endif
