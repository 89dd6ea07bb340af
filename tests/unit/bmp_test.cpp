#include <gtest/gtest.h>

#include <cstdio>

#include "core/startup.h"
#include "gfx/img_list.h"
#include "helpers.h"

TEST(Bmp, FailuresNameTheFileAsPassed)
{
    const std::pair<bool, const char*> cases[] = {
        {false, "Could not create memory bitmap from file gfx/../nowhere/missing.bmp."},
        {true, "Attempt to create video bitmap from a bitmap file: that's very bad, and I shouldn't have done it."},
    };
    for (const auto& c : cases) {
        try {
            Bmp bmp(c.first ? "gfx/player.bmp" : "gfx/../nowhere/missing.bmp", c.first);
            ADD_FAILURE() << "loaded";
        } catch (const Bmp::LoadError& e) {
            EXPECT_EQ(e.getMsg(), c.second);
        }
    }
}

TEST(BmpDeathTest, BitmapsAndASecondRegistryAreFatalBeforeTheLibrary)
{
    EXPECT_FATAL((libraryInstalled = false, new Bmp(32, 16, false)),
                 "Attempt to load 32x16 bitmap before library has been installed.");
    EXPECT_FATAL((libraryInstalled = false, new Bmp("gfx/player.bmp", false)),
                 "Attempt to load bitmap from gfx/player.bmp before library has been installed.");
    EXPECT_FATAL((libraryInstalled = false, ImgList()), "Attempt to load two image lists.");
}

TEST(ImgList, LoadsEachNameOnceKeepsNothingOnFailureAndKeysNamesAsPassed)
{
    std::remove("registry_art.bmp");
    EXPECT_THROW(images.get("registry_art.bmp"), Bmp::LoadError);
    saveArt("registry_art.bmp", opaqueArt(6, 4));
    Bmp* first = images.get("registry_art.bmp");
    EXPECT_EQ(first->bitmap->w, 6);
    // Gone from the disk, still served: the file was read once.
    std::remove("registry_art.bmp");
    EXPECT_EQ(images.get("registry_art.bmp"), first);
    // Another spelling of the same file is another entry and another load.
    saveArt("registry_art.bmp", opaqueArt(6, 4));
    Bmp* second = images.get("./registry_art.bmp");
    EXPECT_NE(second, first);
    EXPECT_EQ(images.get("./registry_art.bmp"), second);
    std::remove("registry_art.bmp");
}
