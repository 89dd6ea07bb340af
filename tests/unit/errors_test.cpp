#include "helpers.h"

// An uncaught exception's box is seen end to end (a missing ball); the unexpected handler cannot be reached there.
TEST(FatalErrorDeathTest, ShowsTheTextAsItIsAndTheUnexpectedHandlerEndsTheGameToo)
{
    EXPECT_FATAL(fatalError("100% %s %d broken"), "100% %s %d broken");
    EXPECT_FATAL(unexpectedHandler(), "Unexpected exception.");
}
