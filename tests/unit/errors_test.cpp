#include "helpers.h"

TEST(FatalErrorDeathTest, ShowsTheTextAsItIsAndUncaughtExceptionsEndThroughTheTerminateHandler)
{
    EXPECT_FATAL(fatalError("100% %s %d broken"), "100% %s %d broken");
    EXPECT_FATAL(
        {
            installExceptionHandlers();
            // An exception leaving a thread's function is caught by nobody.
            std::thread([] { throw std::runtime_error("lost"); }).join();
        },
        "Uncaught exception.");
    EXPECT_FATAL(unexpectedHandler(), "Unexpected exception.");
}
