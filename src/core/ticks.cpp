#include "core/ticks.h"

#include "core/to_string.h"
#include "platform/display.h"

std::atomic<std::int32_t> pendingTicks{0};
std::atomic<std::int32_t> fpsTicks{0};
std::int32_t frameCount = 0;
std::int32_t fps = 0;

void tickHandler()
{
    ++fpsTicks;
    ++pendingTicks;
}

bool noTickPending()
{
    // Only this thread decrements, so a count seen as nonzero stays nonzero until then.
    if (pendingTicks.load() == 0)
        return true;
    --pendingTicks;
    return false;
}

void updateFps()
{
    ++frameCount;
    if (fpsTicks.load() >= ticksPerSecond) {
        // The exchange takes the ticks that arrived since the test too, so none is lost.
        const std::int64_t ticks = fpsTicks.exchange(0);
        // 64 bits: a stalled timer must not let frameCount * 240 overflow.
        fps = static_cast<std::int32_t>(std::int64_t{frameCount} * ticksPerSecond / ticks);
        frameCount = 0;
    }
    drawText(toString(fps), 50, 50);
}
