#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "core/errors.h"
#include "core/startup.h"
#include "core/to_string.h"
#include "fatal.h"

TEST(Exceptions, SubclassCaughtAsItsBaseKeepsTheMessage)
{
    try {
        throw BadRes("no mode\nat all");
    } catch (const ResError& e) {
        EXPECT_EQ(e.getMsg(), "no mode\nat all");
    }
    try {
        throw BuffError("");
    } catch (const Exception& e) {
        EXPECT_EQ(e.getMsg(), "");
    }
}

TEST(Exceptions, CopyOutlivesItsSource)
{
    auto* source = new BadSwitchMode("Could not set proper switch mode.");
    BadSwitchMode copy = *source;
    BadSwitchMode assigned("other");
    assigned = *source;
    delete source;
    EXPECT_EQ(copy.getMsg(), "Could not set proper switch mode.");
    EXPECT_EQ(assigned.getMsg(), "Could not set proper switch mode.");
}

TEST(ToString, WritesPlainDecimal)
{
    EXPECT_EQ(toString(0), "0");
    EXPECT_EQ(toString(240), "240");
    EXPECT_EQ(toString(-12), "-12");
    EXPECT_EQ(toString(-2147483647 - 1), "-2147483648");
}

TEST(FatalErrorDeathTest, ShowsTheHeadingAndTheTextAndExitsWithOne)
{
    EXPECT_FATAL(fatalError("Could not load fullscreen buffers."), "Could not load fullscreen buffers.");
    EXPECT_FATAL(fatalError(""), "");
}

TEST(FatalErrorDeathTest, ShowsPercentSignsAsTheyAre)
{
    EXPECT_FATAL(fatalError("100% %s %d broken"), "100% %s %d broken");
}

TEST(FatalErrorDeathTest, ReportsInsteadOfCrashingBeforeTheLibraryIsInstalled)
{
    EXPECT_FATAL(
        {
            libraryInstalled = false;
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
