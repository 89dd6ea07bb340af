#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "art.h"
#include "fatal.h"
#include "gfx/gui.h"

namespace {

Bmp** const pieces[] = {&guiBkgd,     &guiBorderN,  &guiBorderNE, &guiBorderE, &guiBorderSE,
                        &guiBorderS,  &guiBorderSW, &guiBorderW,  &guiBorderNW};

// Printed at exit, after the fatal message: which pieces had been loaded, in table order.
void reportLoadedPieces()
{
    std::fflush(stdout);  // the fatal message first
    std::string loaded = "\nloaded ";
    for (Bmp** piece : pieces)
        loaded += *piece ? '1' : '0';
    std::fputs(loaded.c_str(), stderr);
}

} // namespace

TEST(Gui, PathsFollowTheTableOrderUnderTheGuiFolder)
{
    EXPECT_EQ(guiDir, "gui/");
    const std::string paths[] = {guiBkgdPath,      guiBorderNPath, guiBorderNEPath, guiBorderEPath, guiBorderSEPath,
                                 guiBorderSPath,   guiBorderSWPath, guiBorderWPath,  guiBorderNWPath};
    const char* names[] = {"bkgd", "bordern", "borderne", "bordere", "borderse",
                           "borders", "bordersw", "borderw", "bordernw"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(paths[i], std::string("gui/") + names[i] + ".bmp");
}

TEST(Gui, LoadsAllNinePiecesOfTheGamesArt)
{
    loadGuiBitmaps();
    for (Bmp** piece : pieces) {
        ASSERT_NE(*piece, nullptr);
        EXPECT_GT((*piece)->bitmap->w, 0);
    }
}

TEST(GuiDeathTest, TheFirstMissingPieceIsNamedAndTheRestAreNotTried)
{
    EXPECT_EXIT(
        {
            routeMessagesToStderr();
            mkdir("gui_missing", 0755);
            mkdir("gui_missing/gui", 0755);
            for (const std::string& path : {guiBkgdPath, guiBorderNPath, guiBorderSEPath, guiBorderSPath,
                                            guiBorderSWPath, guiBorderWPath, guiBorderNWPath})
                saveArt("gui_missing/" + path, opaqueArt(8, 8));
            std::remove("gui_missing/gui/borderne.bmp");
            std::remove("gui_missing/gui/bordere.bmp");
            if (chdir("gui_missing") != 0)
                std::abort();
            for (Bmp** piece : pieces)
                *piece = nullptr;
            std::atexit(reportLoadedPieces);
            loadGuiBitmaps();
        },
        ::testing::ExitedWithCode(1),
        ::testing::Eq("Fatal Error:\n   Error loading gui bitmaps.\nCause: Could not create memory bitmap from file "
                      "gui/borderne.bmp.\nloaded 110000000"));
}
