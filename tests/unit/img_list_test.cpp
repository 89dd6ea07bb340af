#include <gtest/gtest.h>

#include <cstdio>

#include "art.h"
#include "core/startup.h"
#include "fatal.h"
#include "gfx/img_list.h"

TEST(ImgList, LoadsEachNameOnceAndKeysNamesAsPassed)
{
    saveArt("registry_art.bmp", opaqueArt(6, 4));
    Bmp* first = images.get("registry_art.bmp");
    ASSERT_NE(first, nullptr);
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

TEST(ImgList, AFailedLoadKeepsNothingAndIsRetried)
{
    std::remove("registry_later.bmp");
    try {
        images.get("registry_later.bmp");
        FAIL() << "loaded a missing file";
    } catch (const Bmp::LoadError& e) {
        EXPECT_EQ(e.getMsg(), "Could not create memory bitmap from file registry_later.bmp.");
    }
    saveArt("registry_later.bmp", opaqueArt(3, 3));
    Bmp* loaded = images.get("registry_later.bmp");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->bitmap->h, 3);
    std::remove("registry_later.bmp");
}

TEST(ImgListDeathTest, ASecondRegistryIsFatalWithOrWithoutTheLibrary)
{
    EXPECT_FATAL(ImgList second, "Attempt to load two image lists.");
    EXPECT_FATAL(
        {
            libraryInstalled = false;
            ImgList second;
        },
        "Attempt to load two image lists.");
}
