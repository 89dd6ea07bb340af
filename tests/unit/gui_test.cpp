#include "helpers.h"

namespace {

Bmp** const pieces[] = {&guiBkgd,    &guiBorderN,  &guiBorderNE, &guiBorderE, &guiBorderSE,
                        &guiBorderS, &guiBorderSW, &guiBorderW,  &guiBorderNW};

// Printed at exit, after the fatal message: which pieces had been loaded, in table order.
void reportLoadedPieces()
{
    std::fflush(stdout);
    std::string loaded = "\nloaded ";
    for (Bmp** piece : pieces)
        loaded += *piece ? '1' : '0';
    std::fputs(loaded.c_str(), stderr);
}

} // namespace

TEST(GuiDeathTest, LoadsTheNinePiecesInOrderAndTheFirstMissingOneIsFatal)
{
    loadGuiBitmaps();
    for (Bmp** piece : pieces)
        EXPECT_NE(*piece, nullptr);
    std::filesystem::create_directories("gui_missing/gui");
    for (const char* name : {"bkgd", "bordern", "borderse", "borders", "bordersw", "borderw", "bordernw"})
        saveArt(std::string("gui_missing/gui/") + name + ".bmp", opaqueArt(8, 8));
    EXPECT_EXIT(
        {
            routeMessagesToStderr();
            std::filesystem::current_path("gui_missing");
            for (Bmp** piece : pieces)
                *piece = nullptr;
            std::atexit(reportLoadedPieces);
            loadGuiBitmaps();
        },
        ::testing::ExitedWithCode(1),
        ::testing::Eq("Fatal Error:\n   Error loading gui bitmaps.\nCause: Could not create memory bitmap from file "
                      "gui/borderne.bmp.\nloaded 110000000"));
}
