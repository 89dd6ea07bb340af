#include "helpers.h"

TEST(Bmp, AFileIsNeverLoadedIntoVideoMemory)
{
    EXPECT_EQ(thrown<Bmp::LoadError>([] { Bmp("gfx/player.bmp", true); }),
              "Attempt to create video bitmap from a bitmap file: that's very bad, and I shouldn't have done it.");
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
