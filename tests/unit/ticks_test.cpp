#include "helpers.h"

TEST(TickAccounting, EachSignalledTickRunsOnceAndTheRateIsFramesPerSecondOfTicks)
{
    pendingTicks = fpsTicks = fps = 0;
    EXPECT_TRUE(noTickPending());
    for (int i = 0; i < 3; ++i)
        tickHandler();
    int run = 0;
    while (!noTickPending())
        ++run;
    EXPECT_EQ(run, 3);
    EXPECT_EQ(pendingTicks, 0);
    EXPECT_EQ(fpsTicks, 3);

    screenBuffer = new Bmp(640, 480, false);
    struct Case {
        int framesBefore, ticks, expected;
    };
    // Below a second of ticks the rate stays; a stalled timer must not overflow frames * 240.
    for (const Case& c : {Case{50, 239, 0}, Case{100000000 - 1, 2400, 10000000}, Case{59, 240, 60},
                          Case{99, 241, 99}, Case{0, 480, 0}}) {
        frameCount = c.framesBefore;
        fpsTicks = c.ticks;
        updateFps();
        EXPECT_EQ(fps, c.expected) << c.framesBefore + 1 << " frames over " << c.ticks << " ticks";
        EXPECT_EQ(frameCount, c.ticks < 240 ? c.framesBefore + 1 : 0);
        EXPECT_EQ(fpsTicks, c.ticks < 240 ? c.ticks : 0);
    }
    // The rate in grey, its top-left corner at (50, 50) in the 8 x 8 font.
    clear_to_color(screenBuffer->bitmap, maskColor);
    updateFps();
    const int grey = makecol(170, 170, 170);
    int greyPixels = 0, left = 640, top = 480;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (getpixel(screenBuffer->bitmap, x, y) == grey) {
                ++greyPixels, left = std::min(left, x), top = std::min(top, y);
                EXPECT_TRUE(x < 58 && y < 58) << x << "," << y;
            } else {
                ASSERT_EQ(getpixel(screenBuffer->bitmap, x, y), maskColor) << "no background box";
            }
    EXPECT_GT(greyPixels, 5);
    EXPECT_EQ(std::make_pair(left, top), std::make_pair(50, 50));
    delete screenBuffer;
    screenBuffer = nullptr;
}

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

extern "C" void _al_em_run_timers(void);
extern "C" void _al_em_page_hidden(int hidden);

namespace {

int webTicks = 0;

void countWebTick() { ++webTicks; }

// Moves the clock the page's timer reads (node's, replaced for the test) on by so many milliseconds, a frame at a
// time, running the timers after each as every yield to the browser does.
void playFor(double ms)
{
    for (double played = 0; played < ms; played += 1000.0 / 60) {
        emscripten_run_script(("Module.testNow += " + std::to_string(std::min(1000.0 / 60, ms - played))).c_str());
        _al_em_run_timers();
    }
}

}  // namespace

TEST(WebTimer, RunsTheGamesRateForVisibleTimeAndNothingForHiddenTime)
{
    emscripten_run_script("Module.testNow = 0; Module.realHrtime = process.hrtime;"
                          "process.hrtime = () => [Math.floor(Module.testNow / 1000), Module.testNow % 1000 * 1e6];"
                          "globalThis.document = {hidden: false, visibilityState: 'visible'};");
    // The library without a display has no timer: the page's is installed by hand.
    timer_driver = &timer_emscripten;
    ASSERT_EQ(timer_driver->init(), 0);
    install_int_ex(countWebTick, BPS_TO_TIMER(ticksPerSecond));
    playFor(10000);
    EXPECT_NEAR(webTicks, 2400, 1);
    // Ten seconds behind another tab: not one tick then, nor when the page shows again.
    const int beforeHiding = webTicks;
    _al_em_page_hidden(1);
    playFor(10000);
    _al_em_page_hidden(0);
    _al_em_run_timers();
    EXPECT_EQ(webTicks, beforeHiding);
    playFor(1000);
    EXPECT_NEAR(webTicks, beforeHiding + 240, 1);
    remove_int(countWebTick);
    timer_driver->exit();
    timer_driver = nullptr;
    emscripten_run_script("process.hrtime = Module.realHrtime; delete globalThis.document;");
}
#endif
