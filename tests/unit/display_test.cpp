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

TEST(Display, TheWindowIsTheFrameEnlargedByTheLargestWholeMultipleThatFitsTheRoom)
{
    // The room a desktop leaves: its width, nine tenths of its height.
    const struct {
        int width, height, scale;
    } desktops[] = {{640, 480, 1},   {1024, 768, 1},  {1366, 768, 1}, {1920, 1080, 2},
                    {2560, 1440, 2}, {1280, 1067, 2}, {3840, 2160, 4}};
    for (const auto& desktop : desktops)
        EXPECT_EQ(largestScale(640, 480, desktop.width, desktop.height * 9 / 10), desktop.scale) << desktop.width;
}
