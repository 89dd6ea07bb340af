#include <gtest/gtest.h>

#include <cstdio>

#include "core/startup.h"
#include "fatal.h"
#include "gfx/bmp.h"
#include "platform/display.h"

TEST(Bmp, BlankMemoryBitmapIsFilledWithTheMaskColour)
{
    Bmp bmp(32, 16, false);
    ASSERT_NE(bmp.bitmap, nullptr);
    EXPECT_EQ(bmp.bitmap->w, 32);
    EXPECT_EQ(bmp.bitmap->h, 16);
    EXPECT_FALSE(is_video_bitmap(bmp.bitmap));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(getpixel(bmp.bitmap, x, y), maskColor) << x << "," << y;
}

TEST(Bmp, LoadsTheFilesPixelsUnchanged)
{
    BITMAP* art = create_bitmap(5, 3);
    clear_to_color(art, maskColor);
    putpixel(art, 1, 2, makecol(10, 200, 30));
    ASSERT_EQ(save_bmp("bmp_test_art.bmp", art, nullptr), 0);

    Bmp loaded("bmp_test_art.bmp", false);
    EXPECT_EQ(loaded.bitmap->w, 5);
    EXPECT_EQ(loaded.bitmap->h, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(getpixel(loaded.bitmap, x, y), getpixel(art, x, y)) << x << "," << y;
    destroy_bitmap(art);
    std::remove("bmp_test_art.bmp");
}

TEST(Bmp, MissingFileNamesThePathAsPassed)
{
    try {
        Bmp bmp("gfx/../nowhere/missing.bmp", false);
        FAIL() << "loaded a file that does not exist";
    } catch (const Bmp::LoadError& e) {
        EXPECT_EQ(e.getMsg(), "Could not create memory bitmap from file gfx/../nowhere/missing.bmp.");
    }
}

TEST(Bmp, RefusesToLoadAFileIntoVideoMemory)
{
    BITMAP* art = create_bitmap(2, 2);
    ASSERT_EQ(save_bmp("bmp_test_video.bmp", art, nullptr), 0);
    destroy_bitmap(art);
    try {
        Bmp bmp("bmp_test_video.bmp", true);
        FAIL() << "loaded a file into video memory";
    } catch (const Bmp::LoadError& e) {
        EXPECT_EQ(e.getMsg(), "Attempt to create video bitmap from a bitmap file: that's very bad, and I "
                              "shouldn't have done it.");
    }
    std::remove("bmp_test_video.bmp");
}

TEST(BmpDeathTest, RefusesToRunBeforeTheLibraryIsInstalled)
{
    EXPECT_FATAL(
        {
            libraryInstalled = false;
            new Bmp(32, 16, false);
        },
        "Attempt to load 32x16 bitmap before library has been installed.");
    EXPECT_FATAL(
        {
            libraryInstalled = false;
            new Bmp("gfx/player.bmp", false);
        },
        "Attempt to load bitmap from gfx/player.bmp before library has been installed.");
}
