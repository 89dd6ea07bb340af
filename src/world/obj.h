#ifndef SWARM_OBJ_H
#define SWARM_OBJ_H

#include <list>
#include <string>

#include "core/dir.h"

class Bmp;

// A sprite in the game world that moves by direction and is stopped by other objects' pixels.
class Obj {
public:
    // Takes its bitmap from the image registry; throws Bmp::LoadError when the file cannot load.
    Obj(std::string file, int x, int y);
    virtual ~Obj() = default;
    // One logic tick; does nothing here.
    virtual void update();

    // Moves n pixels towards d, each axis only if its step touches no other object.
    void move(Dir d, int n);
    // Would a step of n pixels in the cardinal direction d touch another object? NONE never does.
    bool coll(Dir d, int n);

    int x, y;    // top-left corner, screen pixels
    bool dead;   // set by update to leave the game
    Bmp* image;  // shared through the registry, not owned
};

// The objects in the game, in insertion order; the list does not own them.
extern std::list<Obj*> objects;

// Called once per logic tick: each object's update, unlinking those that set dead.
void updateObjects();
// Called once per frame: each object masked-blitted into screenBuffer, first to last.
void drawObjects();

#endif
