#include "helpers.h"

TEST(InputDeathTest, InputNeedsTheLibraryIsInstalledOnceAndWantsTwoMouseButtons)
{
    EXPECT_FATAL((libraryInstalled = false, Keyboard::installed = false, new Keyboard),
                 "Attempt to install keyboard before library is loaded.");
    EXPECT_FATAL(new Keyboard, "Could not install the keyboard.");
    // A driver already in place leaves install_keyboard nothing to do: the first keyboard succeeds.
    static KEYBOARD_DRIVER inPlace{};
    EXPECT_FATAL((Keyboard::installed = false, keyboard_driver = &inPlace, Keyboard(), Keyboard()),
                 "Attempt to install two keyboards.");
    EXPECT_FATAL((libraryInstalled = false, new Mouse),
                 "Attempt to install mouse before library has been initialized.");
    EXPECT_FATAL((Mouse::installed = true, new Mouse), "Attempt to install two mice.");
    // Without a display there is no mouse at all: too few buttons, and still not installed.
    EXPECT_FATAL((Keyboard::installed = false, keyboard_driver = &inPlace, installInput()),
                 "Sorry, your mouse has too few buttons.");
    Mouse::installed = false;
    EXPECT_THROW(new Mouse, Mouse::TooFewBtns);
    EXPECT_FALSE(Mouse::installed);
}

TEST(Keyboard, OneArrowOrTwoAdjacentOnesGiveTheirDirectionAndEveryOtherCombinationNone)
{
    // The arrows held, as bits: up 1, right 2, down 4, left 8. Other keys count for nothing.
    const std::map<int, Dir> moves = {{1, N}, {3, NE}, {2, E}, {6, SE}, {4, S}, {12, SW}, {8, W}, {9, NW}};
    key[KEY_SPACE] = 1;
    for (int held = 0; held < 16; ++held) {
        key[KEY_UP] = held & 1, key[KEY_RIGHT] = held & 2, key[KEY_DOWN] = held & 4, key[KEY_LEFT] = held & 8;
        const auto move = moves.find(held);
        EXPECT_EQ(Keyboard::dir(), move == moves.end() ? NONE : move->second) << held;
    }
}

// The X display is Linux's alone: Windows has no DISPLAY to look at.
#ifdef ALLEGRO_WITH_XWINDOWS
TEST(NoSystemDriver, SaysWhatIsKnownOfTheDisplay)
{
    unsetenv("DISPLAY");
    EXPECT_EQ(whyNoSystemDriver(), "No display to run on: DISPLAY is not set.");
    setenv("DISPLAY", ":65000", 1);
    EXPECT_EQ(whyNoSystemDriver(), "Could not open the display :65000.");
}
#endif
