#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ConxnMsg.h"
#include "app/ErrorMsg.h"
#include "app/LmxClient.h"
#include "app/MsgFilter.h"

namespace {
ErrorMsg* msg(const char* category, const char* time = "00:00:00", const char* name = "")
{
    ErrorMsg* m = new ErrorMsg(1);
    m->_errorCategory = category;
    m->_time = time;
    m->_body = name;
    return m;
}

ConxnMsg* signOn(long token, const char* pid = "99999999")
{
    ConxnMsg* s = new ConxnMsg(token);
    s->_type = "Runtime";
    s->_pid = pid;
    return s;
}

// The messages' body texts in list order, joined by blanks.
std::string order(const NetClient& c)
{
    std::string s;
    for (ListIterator<ErrorMsg*> i(c._messages); i.valid(); i.next())
        s += std::string(s.empty() ? "" : " ") + i.current()->_body.text();
    return s;
}
}  // namespace

TEST(NetClient, headersAndStates)
{
    NetClient trash(0L);
    EXPECT_STREQ(trash.header(), "  (0) Trashcan");
    EXPECT_STREQ(trash.clientTag(), "SimpleClient");
    EXPECT_EQ(trash.rebuildState(), -1);
    NetClient three(3L);
    EXPECT_STREQ(three.header(), "  (3) Client");

    LmxClient live(signOn(65536));
    EXPECT_EQ(live._id, 65536);
    EXPECT_EQ(live._status, 1);
    EXPECT_EQ(live.rebuildState(), 0);
    live.disconnect();
    EXPECT_EQ(live._status, 0);
    EXPECT_EQ(live._signature->status(), 0);
    EXPECT_EQ(live.rebuildState(), -1);

    NetClient none(static_cast<ConxnMsg*>(nullptr));
    EXPECT_EQ(none._id, 0);
    EXPECT_EQ(none.header(), nullptr);
    none.kill();
}

TEST(LmxClient, appendByCategoryKeepsArrivalOrderWithinACategory)
{
    LmxClient c(signOn(10));
    c.sort(sortByErrorCategory);
    c.append(msg("beta", "", "b1"));
    c.append(msg("gamma", "", "g1"));
    EXPECT_EQ(c.append(msg("alpha", "", "a1")), 3);
    c.append(msg("beta", "", "b2"));
    c.append(msg("delta", "", "d1"));
    EXPECT_EQ(order(c), "a1 b1 b2 d1 g1");
    EXPECT_EQ(c.append(nullptr), -1);
    c._criterion = 7;
    ErrorMsg* m = msg("x");
    EXPECT_EQ(c.append(m), -1);
    delete m;
    EXPECT_EQ(c.nMessages(), 5);
}

TEST(LmxClient, sortIsStableAndByTimeForFile)
{
    LmxClient c(signOn(11));
    c.append(msg("b", "10:00:02", "m1"));
    c.append(msg("a", "10:00:01", "m2"));
    c.append(msg("b", "10:00:01", "m3"));
    c.append(msg("a", "10:00:03", "m4"));
    EXPECT_EQ(c.sort(sortByErrorCategory), 0);
    EXPECT_EQ(order(c), "m2 m4 m1 m3");
    c.sort(sortByFile);
    EXPECT_EQ(c._criterion, sortByFile);
    EXPECT_EQ(order(c), "m2 m3 m1 m4");
    c.sort(sortByTime);
    EXPECT_EQ(order(c), "m2 m3 m1 m4");
    NetClient empty(5L);
    EXPECT_EQ(empty.sort(sortByErrorCategory), 0);
}

TEST(LmxClient, suppressedCategoriesAreKeptMarkedAndCounted)
{
    LmxClient a(signOn(20));
    LmxClient b(signOn(21));
    ErrorMsg* first = msg("SUPPRESSME");
    a.append(first);
    a.suppress(first);
    // Messages already there stay as they were.
    EXPECT_EQ(first->_suppressed, No);
    EXPECT_EQ(a._nSuppressed, 0);
    ErrorMsg* later = msg("SUPPRESSME");
    EXPECT_EQ(b.append(later), 1);
    EXPECT_EQ(later->_suppressed, Yes);
    EXPECT_EQ(b._nSuppressed, 1);
    EXPECT_EQ(b.nShown(), 0);
    a.suppress(nullptr);
}

TEST(MsgFilter, entriesAreUniqueAndMatchExactly)
{
    MsgFilter f;
    EXPECT_EQ(f.suppress(MsgSuppression::ErrorCategory, "ABW"), 0);
    EXPECT_EQ(f.suppress(MsgSuppression::ErrorCategory, "ABW"), 1);
    EXPECT_EQ(f.suppress(MsgSuppression::ErrorCategory, ""), 1);
    EXPECT_EQ(f.suppress(MsgSuppression::ErrorCategory, nullptr), 1);
    EXPECT_EQ(f.suppress(MsgSuppression::File, "src/x/f.c"), 0);
    EXPECT_EQ(f.suppressions().length(), 2);

    ErrorMsg abw, abwx, file, other;
    abw._errorCategory = "ABW";
    abwx._errorCategory = "ABWX";
    file._filepath = "src/x";
    file._filename = "f.c";
    other._filepath = "src";
    other._filename = "x/f.c.h";
    EXPECT_EQ(f.isSuppressed(&abw), 1);
    EXPECT_EQ(f.isSuppressed(&abwx), 0);
    EXPECT_EQ(f.isSuppressed(&file), 1);
    EXPECT_EQ(f.isSuppressed(&other), 0);

    MsgSuppression odd(static_cast<MsgSuppression::Code>(5), "ABW");
    EXPECT_EQ(odd.isSuppressed(&abw), 0);
    odd._code = MsgSuppression::ErrorCategory;
    odd.setToken(nullptr);
    EXPECT_EQ(odd.isSuppressed(&abw), 1);
}
