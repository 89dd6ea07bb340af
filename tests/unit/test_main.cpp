#include "helpers.h"

// The real library without a display: memory bitmaps, loading and masked drawing work.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    libraryInstalled = true;
    set_color_depth(32);
    maskColor = makecol(255, 0, 255);
    return RUN_ALL_TESTS();
}
END_OF_MAIN()  // on Windows the library renames main and calls it from its own entry point
