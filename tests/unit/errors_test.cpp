#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "core/errors.h"
#include "core/startup.h"
#include "core/to_string.h"
#include "helpers.h"

TEST(Exceptions, CopiesAndBaseClassCatchesKeepTheMessage)
{
    auto* source = new BadSwitchMode("no mode\nat all");
    BadSwitchMode copy = *source, assigned("other");
    assigned = *source;
    delete source;
    EXPECT_EQ(copy.getMsg(), "no mode\nat all");
    EXPECT_EQ(assigned.getMsg(), "no mode\nat all");
    try {
        throw BadRes("");
    } catch (const ResError& e) {
        EXPECT_EQ(e.getMsg(), "");
    }
    EXPECT_EQ(toString(-2147483647 - 1) + toString(0) + toString(240), "-21474836480240");
}

TEST(FatalErrorDeathTest, ShowsTheHeadingAndTheTextAsItIsAndExitsWithOne)
{
    EXPECT_FATAL(fatalError(""), "");
    EXPECT_FATAL(fatalError("100% %s %d broken"), "100% %s %d broken");
    EXPECT_FATAL(
        {
            libraryInstalled = false;  // too early to leave a graphics mode: it must not crash
            fatalError("too early");
        },
        "too early");
}

TEST(FatalErrorDeathTest, UncaughtExceptionsEndThroughTheTerminateHandler)
{
    EXPECT_FATAL(
        {
            installExceptionHandlers();
            // An exception leaving a thread's function is caught by nobody.
            std::thread([] { throw std::runtime_error("lost"); }).join();
        },
        "Uncaught exception.");
    EXPECT_FATAL(unexpectedHandler(), "Unexpected exception.");
}
