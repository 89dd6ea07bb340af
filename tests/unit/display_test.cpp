#include "helpers.h"

// Without a display every graphics mode is refused, which drives the failure paths.
TEST(DisplayDeathTest, ARefusedModeIsBadResWithTheLibrarysReasonAndNoModeAtAllIsFatal)
{
    const int maskBefore = maskColor;
    for (int mode : {0, 1}) {
        const std::string cause = thrown<BadRes>([&] { setVideoMode(mode, 640, 480, 24); });
        EXPECT_FALSE(cause.empty());
        EXPECT_EQ(cause, allegro_error);
    }
    EXPECT_EQ(screenBuffer, nullptr);
    EXPECT_EQ(maskColor, maskBefore);
    const std::string windowedCause = thrown<BadRes>([] { setVideoMode(1, 640, 480, desktop_color_depth()); });
    set_color_depth(32);  // the suite's depth, which a request changes
    EXPECT_FATAL(openDisplay(), "Could not set video mode.  Cause:  " + windowedCause);
}
