#include <gtest/gtest.h>

#include <memory>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/messages/MsgTraversal.h"

namespace {

// Clients made directly, the way the message area holds them: the trash can
// first, then real clients whose messages may be suppressed.
struct Clients {
    List<NetClient*> list;
    std::vector<std::unique_ptr<NetClient>> owned;

    Clients() { add(new NetClient(0L)); }
    NetClient* add(NetClient* c)
    {
        owned.emplace_back(c);
        list.append(c);
        return c;
    }
    // A client with one message per entry of `suppressed`.
    NetClient* client(long id, std::vector<bool> suppressed)
    {
        NetClient* c = add(new LmxClient(new ConxnMsg(id)));
        for (bool s : suppressed) {
            ErrorMsg* m = new ErrorMsg(id);
            m->_suppressed = s ? Yes : No;
            c->_messages.append(m);
            c->_nSuppressed += s;
        }
        return c;
    }
};

ErrorMsg* msg(NetClient* c, int k) { return c->_messages.at(k - 1); }

}  // namespace

TEST(MsgTraversal, withNoClientsEverythingFails)
{
    List<NetClient*> none;
    MsgTraversal t(&none);
    t.reset();
    EXPECT_EQ(t._pos, -1);
    EXPECT_EQ(t._index, -1);
    EXPECT_EQ(t._msg, nullptr);
    EXPECT_EQ(t.next(), -1);
    EXPECT_EQ(t.prev(), -1);
    EXPECT_EQ(t.locate(0), -1);
    EXPECT_EQ(t.locate(static_cast<NetMsg*>(nullptr)), -1);
}

// Lines: trash 0, A-header 1, A1 2, A3 3, B-header 4, B1 5.
class TwoClients : public ::testing::Test {
protected:
    Clients cs;
    NetClient* a = cs.client(1, {false, true, false});
    NetClient* b = cs.client(2, {false});
    MsgTraversal t{&cs.list};
};

TEST_F(TwoClients, locateByLineOrMessagePassesOverSuppressedMessages)
{
    ASSERT_EQ(t.locate(3), 0);
    EXPECT_EQ(t._index, 3);
    EXPECT_EQ(t._msg, msg(a, 3));
    ASSERT_EQ(t.locate(4), 0);
    EXPECT_EQ(t._index, 0);
    EXPECT_EQ(t._msg, b->_signature);
    EXPECT_EQ(t.client(), b);
    EXPECT_EQ(t.locate(6), -1);
    EXPECT_EQ(t._msg, b->_signature);  // a failed locate leaves the cursor where it was
    EXPECT_EQ(t.client(), b);

    // A suppressed message is found, but has no line.
    ASSERT_EQ(t.locate(msg(a, 2)), 0);
    EXPECT_EQ(t._pos, -1);
    EXPECT_EQ(t._index, 2);
    ASSERT_EQ(t.locate(msg(b, 1)), 0);
    EXPECT_EQ(t._pos, 5);
    ErrorMsg stranger(9);
    EXPECT_EQ(t.locate(&stranger), -1);
    EXPECT_EQ(t._pos, -1);
    EXPECT_EQ(t._msg, nullptr);
}

TEST_F(TwoClients, nextAndPrevWalkShownLinesAcrossClientsAndStopAtTheEnds)
{
    t.locate(2);
    EXPECT_EQ(t.next(), 3);
    EXPECT_EQ(t._msg, msg(a, 3));
    EXPECT_EQ(t.next(), 4);
    EXPECT_EQ(t._msg, b->_signature);
    EXPECT_EQ(t.next(), 5);
    EXPECT_EQ(t.next(), -1);
    EXPECT_EQ(t._pos, 5);
    EXPECT_EQ(t._msg, msg(b, 1));

    EXPECT_EQ(t.prev(), 4);
    EXPECT_EQ(t._msg, b->_signature);
    // From a header to the previous client's last shown message.
    EXPECT_EQ(t.prev(), 3);
    EXPECT_EQ(t._msg, msg(a, 3));
    EXPECT_EQ(t._index, 3);
    EXPECT_EQ(t.prev(), 2);
    EXPECT_EQ(t.prev(), 1);
    EXPECT_EQ(t._msg, a->_signature);
    // In front of the first real client lies the trash can: back to the top.
    EXPECT_EQ(t.prev(), 0);
    EXPECT_EQ(t.prev(), 0);
    EXPECT_EQ(t.client(), cs.list.first());
}

TEST(MsgTraversal, aClientWithOnlySuppressedMessagesShowsJustItsHeader)
{
    Clients cs;
    NetClient* a = cs.client(1, {true, true});
    NetClient* b = cs.client(2, {});
    NetClient* c = cs.client(3, {false});
    MsgTraversal t(&cs.list);
    t.locate(1);
    EXPECT_EQ(t.next(), 2);
    EXPECT_EQ(t._msg, b->_signature);
    EXPECT_EQ(t.next(), 3);
    EXPECT_EQ(t._msg, c->_signature);
    EXPECT_EQ(t.prev(), 2);
    EXPECT_EQ(t.prev(), 1);
    EXPECT_EQ(t._msg, a->_signature);
}

TEST(MsgTraversal, validateSelectionStepsOffANewlySuppressedMessage)
{
    Clients cs;
    NetClient* a = cs.client(1, {false, false, false});
    MsgTraversal t(&cs.list);
    t.locate(4);
    ASSERT_EQ(t._msg, msg(a, 3));
    // The first and the third message are suppressed together.
    for (int k : {1, 3}) {
        msg(a, k)->_suppressed = Yes;
        ++a->_nSuppressed;
    }
    t.validateSelection();
    EXPECT_EQ(t._msg, msg(a, 2));
    EXPECT_EQ(t._pos, 2);
    t.validateSelection();  // on a shown message nothing moves
    EXPECT_EQ(t._msg, msg(a, 2));
}
