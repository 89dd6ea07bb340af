#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "helpers.h"
#include "platform/display.h"

// Without a display every graphics mode is refused, which drives the failure paths.
TEST(DisplayDeathTest, ARefusedModeIsBadResWithTheLibrarysReasonAndNoModeAtAllIsFatal)
{
    const int maskBefore = maskColor;
    for (int mode : {0, 1}) {
        try {
            setVideoMode(mode, 640, 480, 24);
            ADD_FAILURE() << "a mode was set without a display";
        } catch (const BadRes& e) {
            EXPECT_FALSE(e.getMsg().empty());
            EXPECT_EQ(e.getMsg(), std::string(allegro_error));
        }
    }
    EXPECT_EQ(screenBuffer, nullptr);
    EXPECT_EQ(maskColor, maskBefore);
    std::string windowedCause;
    try {
        setVideoMode(1, 640, 480, desktop_color_depth());
    } catch (const BadRes& e) {
        windowedCause = e.getMsg();
    }
    set_color_depth(32);  // the suite's depth, which a request changes
    EXPECT_FATAL(openDisplay(), "Could not set video mode.  Cause:  " + windowedCause);
}
