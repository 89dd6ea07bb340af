// What every unit test uses: the library, GoogleTest, the game's headers, and helpers for art and fatal errors.
#ifndef SWARM_TEST_HELPERS_H
#define SWARM_TEST_HELPERS_H

#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/startup.h"
#include "core/ticks.h"
#include "gfx/bmp.h"
#include "gfx/bmp_check.h"
#include "gfx/bmp_file.h"
#include "gfx/bmp_normalise.h"
#include "gfx/img_list.h"
#include "platform/display.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/x11.h"
#include "world/ball_monster.h"
#include "world/obj.h"

// Without a display the message box text goes to standard output; death tests read standard error.
inline void routeMessagesToStderr()
{
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

#if GTEST_HAS_DEATH_TEST
// The statement must end the process with status 1, showing exactly this fatal error.
#define EXPECT_FATAL(statement, text)                                                                              \
    EXPECT_EXIT(                                                                                                   \
        {                                                                                                          \
            routeMessagesToStderr();                                                                               \
            statement;                                                                                             \
        },                                                                                                         \
        ::testing::ExitedWithCode(1), ::testing::Eq(std::string("Fatal Error:\n   ") + (text)))
#else
// Watching a process end takes a second one, and the web build's runs alone under node: there the fatal errors are
// checked end to end.
#define EXPECT_FATAL(statement, text)                                                                              \
    do {                                                                                                           \
        if (false) {                                                                                               \
            statement;                                                                                             \
            static_cast<void>(text);                                                                               \
        }                                                                                                          \
        GTEST_SKIP() << "no second process to watch a fatal error in";                                             \
    } while (false)
#endif

// The message of the exception of type E that the statement throws; empty when it throws none.
template <class E, class Statement>
std::string thrown(Statement statement)
{
    try {
        statement();
    } catch (const E& e) {
        return e.getMsg();
    }
    return "";
}

// A blank bitmap with an opaque red rectangle over columns left..right and rows top..bottom.
inline Bmp* artWithRect(int w, int h, int left, int top, int right, int bottom)
{
    Bmp* art = new Bmp(w, h, false);
    rectfill(art->bitmap, left, top, right, bottom, makecol(200, 40, 40));
    return art;
}

inline Bmp* opaqueArt(int w, int h) { return artWithRect(w, h, 0, 0, w - 1, h - 1); }

// Saves the art as a BMP file and releases it.
inline void saveArt(const std::string& path, Bmp* art)
{
    save_bmp(path.c_str(), art->bitmap, nullptr);
    delete art;
}

#endif
