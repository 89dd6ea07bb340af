#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "fatal.h"
#include "gfx/bmp.h"
#include "platform/display.h"

// Without a display every graphics mode is refused, which drives the failure paths.
// A request changes the library's colour depth, so each test puts the suite's back.
class Display : public ::testing::Test {
protected:
    void TearDown() override { set_color_depth(32); }
};
using DisplayDeathTest = Display;

TEST_F(Display, RefusedModeIsBadResCarryingTheLibrarysReason)
{
    screenBuffer = nullptr;
    const int maskBefore = maskColor;
    try {
        setVideoMode(0, 640, 480, 24);
        FAIL() << "a mode was set without a display";
    } catch (const BadRes& e) {
        EXPECT_FALSE(e.getMsg().empty());
        EXPECT_EQ(e.getMsg(), std::string(allegro_error));
    }
    EXPECT_EQ(screenBuffer, nullptr);
    EXPECT_EQ(maskColor, maskBefore);
}

TEST_F(Display, WindowedRequestFailsTheSameWay)
{
    EXPECT_THROW(setVideoMode(1, 640, 480, 32), BadRes);
}

TEST_F(DisplayDeathTest, NoModeAtAllEndsWithTheWindowedAttemptsCause)
{
    std::string windowedCause;
    try {
        setVideoMode(1, 640, 480, desktop_color_depth());
    } catch (const BadRes& e) {
        windowedCause = e.getMsg();
    }
    ASSERT_FALSE(windowedCause.empty());
    EXPECT_FATAL(openDisplay(), "Could not set video mode.  Cause:  " + windowedCause);
}

TEST_F(Display, TextIsGreyWithoutABackgroundBox)
{
    screenBuffer = new Bmp(100, 100, false);
    drawText("88", 10, 20);
    const int grey = makecol(170, 170, 170);
    int greyPixels = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const int pixel = getpixel(screenBuffer->bitmap, x, y);
            const bool inText = x >= 10 && x < 26 && y >= 20 && y < 28;
            if (pixel == grey) {
                ++greyPixels;
                EXPECT_TRUE(inText) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, maskColor) << x << "," << y;
            }
        }
    EXPECT_GT(greyPixels, 10);
    delete screenBuffer;
    screenBuffer = nullptr;
}
