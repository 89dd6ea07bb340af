#include <gtest/gtest.h>

#include "core/ticks.h"
#include "gfx/bmp.h"
#include "platform/display.h"

namespace {

// A memory frame stands in for the screen, so updateFps has somewhere to draw.
class TickAccounting : public ::testing::Test {
protected:
    void SetUp() override
    {
        screenBuffer = new Bmp(640, 480, false);
        pendingTicks = 0;
        fpsTicks = 0;
        frameCount = 0;
        fps = 0;
    }
    void TearDown() override
    {
        delete screenBuffer;
        screenBuffer = nullptr;
    }

    void drawFrames(int frames)
    {
        for (int i = 0; i < frames; ++i)
            updateFps();
    }
};

} // namespace

TEST_F(TickAccounting, EachSignalledTickIsRunOnceThenNoneIsPending)
{
    EXPECT_TRUE(noTickPending());
    EXPECT_EQ(pendingTicks, 0);
    for (int i = 0; i < 3; ++i)
        tickHandler();
    EXPECT_EQ(fpsTicks, 3);
    int run = 0;
    while (!noTickPending())
        ++run;
    EXPECT_EQ(run, 3);
    EXPECT_EQ(pendingTicks, 0);
    EXPECT_EQ(fpsTicks, 3);
}

TEST_F(TickAccounting, RateStaysZeroUntilASecondOfTicksHasPassed)
{
    fpsTicks = 239;
    drawFrames(50);
    EXPECT_EQ(fps, 0);
    EXPECT_EQ(frameCount, 50);
}

TEST_F(TickAccounting, RateIsFramesPerSecondOfTicksTruncated)
{
    struct Case {
        int frames, ticks, expected;
    };
    for (const Case& c : {Case{60, 240, 60}, Case{100, 241, 99}, Case{1, 480, 0}, Case{1, 240, 1}}) {
        frameCount = c.frames - 1;
        fpsTicks = c.ticks;
        updateFps();
        EXPECT_EQ(fps, c.expected) << c.frames << " frames over " << c.ticks << " ticks";
        EXPECT_EQ(frameCount, 0);
        EXPECT_EQ(fpsTicks, 0);
    }
}

TEST_F(TickAccounting, HugeFrameCountsDoNotOverflowTheRate)
{
    frameCount = 100000000 - 1;
    fpsTicks = 2400;
    updateFps();
    EXPECT_EQ(fps, 10000000);
}

TEST_F(TickAccounting, RateIsDrawnInGreyAtFiftyFifty)
{
    fps = 0;
    updateFps();
    const int grey = makecol(170, 170, 170);
    int greyPixels = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (getpixel(screenBuffer->bitmap, x, y) == grey) {
                ++greyPixels;
                EXPECT_TRUE(x >= 50 && x < 58 && y >= 50 && y < 58) << x << "," << y;
            }
    EXPECT_GT(greyPixels, 5);
}
