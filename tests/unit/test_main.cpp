#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include "core/startup.h"
#include "platform/display.h"

namespace {

// The real library without a display: memory bitmaps, loading and masked drawing work.
class NoDisplayLibrary : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        libraryInstalled = true;
        set_color_depth(32);
        maskColor = makecol(255, 0, 255);
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new NoDisplayLibrary);
    return RUN_ALL_TESTS();
}
