#include <gtest/gtest.h>

#include "app/ConxnMsg.h"
#include "app/ErrorMsg.h"
#include "app/LmxClient.h"
#include "app/LmxStsBar.h"
#include "app/MsgArea.h"
#include "app/tests/AppTestEnv.h"

namespace {
ErrorMsg* msg(long token, const char* category)
{
    ErrorMsg* m = new ErrorMsg(token);
    m->_errorCategory = category;
    return m;
}
}  // namespace

TEST(MsgAreaNetworkSide, countsShownMessagesOfKnownClients)
{
    MsgArea area("msgAreaUnderTest");
    appGlobals();
    ASSERT_EQ(area.clients().length(), 1);
    EXPECT_EQ(area.trashcan(), area.clients().first());
    EXPECT_EQ(area.trashcan()->_id, 0);

    ConxnMsg* s = new ConxnMsg(4242001);
    LmxClient* c = new LmxClient(s);
    area.clientSignOn(c);
    area.clientSignOn(nullptr);
    EXPECT_EQ(area.clients().length(), 2);

    area.newMessage(4242001, msg(4242001, "ABW"));
    area.newMessage(4242001, msg(4242001, "FMR"));
    EXPECT_EQ(area.nMessages(), 2);
    EXPECT_EQ(theStatusBar->messages(), 2);
    EXPECT_EQ(c->nMessages(), 2);

    // An unknown id goes to the trash can, uncounted, with a line on stderr.
    testing::internal::CaptureStderr();
    area.newMessage(99, msg(99, "ABW"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, " **** MsgArea::newMessage(): message from unknown client (id=99)\n");
    EXPECT_EQ(area.trashcan()->nMessages(), 1);
    EXPECT_EQ(area.nMessages(), 2);

    // A suppressed message is kept by its client but not counted.
    LmxClient::_filter.suppress(MsgSuppression::ErrorCategory, "MsgAreaNetworkSide-hidden");
    area.newMessage(4242001, msg(4242001, "MsgAreaNetworkSide-hidden"));
    EXPECT_EQ(c->nMessages(), 3);
    EXPECT_EQ(area.nMessages(), 2);

    area.clientSignOff(4242001);
    EXPECT_EQ(c->_status, 0);
    EXPECT_EQ(s->status(), 0);
    area.clientSignOff(4242001);

    area.clientSizeAdjust(-1);
    EXPECT_EQ(area.nMessages(), 1);
    EXPECT_EQ(theStatusBar->messages(), 1);
}

TEST(MsgAreaNetworkSide, aReusedIdReachesTheLatestSession)
{
    MsgArea area("msgAreaUnderTest");
    appGlobals();
    LmxClient* old = new LmxClient(new ConxnMsg(500));
    area.clientSignOn(old);
    area.clientSignOff(500);
    LmxClient* fresh = new LmxClient(new ConxnMsg(500));
    area.clientSignOn(fresh);
    area.newMessage(500, msg(500, "X"));
    EXPECT_EQ(old->nMessages(), 0);
    EXPECT_EQ(fresh->nMessages(), 1);
    area.clientSignOff(500);
    EXPECT_EQ(fresh->_status, 0);
}
