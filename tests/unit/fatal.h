#ifndef SWARM_TEST_FATAL_H
#define SWARM_TEST_FATAL_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

// Without a display the message box text goes to standard output; death tests read standard error.
inline void routeMessagesToStderr()
{
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

// The statement must end the process with status 1, showing exactly this fatal error.
#define EXPECT_FATAL(statement, text)                                                                        \
    EXPECT_EXIT(                                                                                             \
        {                                                                                                    \
            routeMessagesToStderr();                                                                         \
            statement;                                                                                       \
        },                                                                                                   \
        ::testing::ExitedWithCode(1), ::testing::Eq(std::string("Fatal Error:\n   ") + (text)))

#endif
