#include <allegro.h>
#include <gtest/gtest.h>

#include "core/startup.h"
#include "fatal.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"

namespace {

void holdArrows(bool up, bool right, bool down, bool left)
{
    key[KEY_UP] = up;
    key[KEY_RIGHT] = right;
    key[KEY_DOWN] = down;
    key[KEY_LEFT] = left;
}

} // namespace

TEST(KeyboardDir, EverySetOfArrowKeysGivesItsDirection)
{
    struct Case {
        bool up, right, down, left;
        Dir expected;
    };
    const Case cases[] = {
        {false, false, false, false, NONE}, {true, false, false, false, N},   {true, true, false, false, NE},
        {false, true, false, false, E},     {false, true, true, false, SE},   {false, false, true, false, S},
        {false, false, true, true, SW},     {false, false, false, true, W},   {true, false, false, true, NW},
        {true, false, true, false, NONE},   {false, true, false, true, NONE}, {true, true, true, false, NONE},
        {true, true, false, true, NONE},    {true, false, true, true, NONE},  {false, true, true, true, NONE},
        {true, true, true, true, NONE},
    };
    static Keyboard* keys = new Keyboard; // no keyboard driver without a display: key is ours to write
    for (const Case& c : cases) {
        holdArrows(c.up, c.right, c.down, c.left);
        EXPECT_EQ(keys->dir(), c.expected) << "up " << c.up << " right " << c.right << " down " << c.down
                                           << " left " << c.left;
    }
    // Keys other than the arrows change nothing.
    key[KEY_ESC] = key[KEY_SPACE] = key[KEY_8_PAD] = 1;
    holdArrows(false, true, false, false);
    EXPECT_EQ(keys->dir(), E);
    key[KEY_ESC] = key[KEY_SPACE] = key[KEY_8_PAD] = 0;
    holdArrows(false, false, false, false);
}

TEST(InputDeathTest, KeyboardNeedsTheLibraryAndIsInstalledOnce)
{
    EXPECT_FATAL(
        {
            libraryInstalled = false;
            Keyboard::installed = false;
            new Keyboard;
        },
        "Attempt to install keyboard before library is loaded.");
    EXPECT_FATAL(
        {
            Keyboard::installed = false;
            new Keyboard;
            new Keyboard;
        },
        "Attempt to install two keyboards.");
}

TEST(Mouse, NoMouseCountsAsTooFewButtonsAndLeavesItUninstalled)
{
    Mouse::installed = false;
    EXPECT_THROW(new Mouse, Mouse::TooFewBtns);
    EXPECT_FALSE(Mouse::installed);
}

TEST(InputDeathTest, MouseNeedsTheLibraryAndIsInstalledOnce)
{
    EXPECT_FATAL(
        {
            libraryInstalled = false;
            new Mouse;
        },
        "Attempt to install mouse before library has been initialized.");
    EXPECT_FATAL(
        {
            Mouse::installed = true;
            new Mouse;
        },
        "Attempt to install two mice.");
}

TEST(InputDeathTest, StartUpAnswersAMissingMouseWithItsOwnMessage)
{
    EXPECT_FATAL(
        {
            Keyboard::installed = false;
            Mouse::installed = false;
            installInput();
        },
        "Sorry, your mouse has too few buttons.");
}
