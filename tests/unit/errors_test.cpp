#include "helpers.h"

TEST(FatalErrorDeathTest, ShowsTheTextAsItIsAndUncaughtExceptionsEndThroughTheTerminateHandler)
{
    EXPECT_FATAL(fatalError("100% %s %d broken"), "100% %s %d broken");
    EXPECT_FATAL(
        {
            installExceptionHandlers();
            // An exception that meets a noexcept function is caught by nobody.
            void (*const escape)() = [] { throw std::runtime_error("lost"); };
            [escape]() noexcept { escape(); }();
        },
        "Uncaught exception.");
    EXPECT_FATAL(unexpectedHandler(), "Unexpected exception.");
}
