#include <gtest/gtest.h>

#include "qip/Components/tests/TestApp.h"

TEST(TestApp, aParentShowsOnTheDisplay)
{
    TestParent p;
    p.show();
    ASSERT_NE(p.shell(), nullptr);
    EXPECT_TRUE(XtIsRealized(p.shell()));
}
