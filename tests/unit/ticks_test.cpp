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
