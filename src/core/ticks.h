#ifndef SWARM_TICKS_H
#define SWARM_TICKS_H

#include <atomic>
#include <cstdint>

constexpr int ticksPerSecond = 240;

// Written by the timer thread and the main thread, hence atomic.
extern std::atomic<std::int32_t> pendingTicks;
extern std::atomic<std::int32_t> fpsTicks;
// Main thread only.
extern std::int32_t frameCount;
extern std::int32_t fps;

// The library's timer callback, 240 times per second.
void tickHandler();
// True when no tick is due; otherwise takes one and returns false.
bool noTickPending();
// Counts the frame, recomputes fps once a second of ticks has passed and draws it.
void updateFps();

#endif
