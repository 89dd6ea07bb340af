#ifndef SWARM_BOSS_H
#define SWARM_BOSS_H

// A boss enemy: advances one logic tick at a time and draws itself into screenBuffer.
class Boss {
public:
    virtual ~Boss() = default;
    virtual void update() = 0;
    virtual void draw() = 0;
};

#endif
