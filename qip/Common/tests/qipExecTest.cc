#include <gtest/gtest.h>

#include <climits>

#include "qip/Common/qipExec.h"

// The count comes from a client's record or a report file: a count the
// bytes cannot hold must not size the vector (INT_MAX entries overflowed it,
// a large count asked for gigabytes).
TEST(QipExec, aDeclaredCountBeyondTheBytesGivesTheStringsThatCame)
{
    qipExec e;
    const char args[] = "prog\0-c\0";
    ASSERT_EQ(e.cmdline(INT_MAX, args, sizeof args - 1), 0);
    ASSERT_EQ(e.argc(), 2);
    EXPECT_STREQ(e.argv()[1], "-c");
    EXPECT_EQ(e.argv()[2], nullptr);
    const char env[] = "A=1";
    ASSERT_EQ(e.environment(800000000, env, sizeof env - 1), 0);
    EXPECT_EQ(e.environCount(), 1);
    EXPECT_STREQ(e.envp()[0], "A=1");
    EXPECT_EQ(e.envp()[1], nullptr);
}
