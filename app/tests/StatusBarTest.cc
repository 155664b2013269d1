#include <gtest/gtest.h>

#include "app/LmxStsBar.h"
#include "app/tests/AppTestEnv.h"

TEST(StatusBarWithoutWidgets, keepsTextsAndCounts)
{
    appGlobals();
    theStatusBar->setPermanent("ready");
    theStatusBar->refresh();
    EXPECT_STREQ(theStatusBar->shownText(), "ready");
    theStatusBar->nConnections(3);
    EXPECT_EQ(theStatusBar->connections(), 3);
}
