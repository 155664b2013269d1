#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/MsgFilter.h"

namespace {
ErrorMsg* msg(const char* category, const char* time = "00:00:00", const char* name = "")
{
    ErrorMsg* m = new ErrorMsg(1);
    m->_errorCategory = category;
    m->_time = time;
    m->_body = name;
    return m;
}

ConxnMsg* signOn(long token)
{
    ConxnMsg* s = new ConxnMsg(token);
    s->_type = "Runtime";
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

TEST(LmxClient, appendAndSortKeepArrivalOrderWithinEqualKeys)
{
    LmxClient c(signOn(10));
    c.sort(sortByErrorCategory);
    c.append(msg("beta", "", "b1"));
    c.append(msg("gamma", "", "g1"));
    EXPECT_EQ(c.append(msg("alpha", "", "a1")), 3);
    c.append(msg("beta", "", "b2"));
    EXPECT_EQ(order(c), "a1 b1 b2 g1");
    EXPECT_EQ(c.append(nullptr), -1);
    c._criterion = 7;
    ErrorMsg* m = msg("x");
    EXPECT_EQ(c.append(m), -1);
    delete m;

    LmxClient t(signOn(11));
    t.append(msg("b", "10:00:02", "m1"));
    t.append(msg("a", "10:00:01", "m2"));
    t.append(msg("b", "10:00:01", "m3"));
    t.append(msg("a", "10:00:03", "m4"));
    EXPECT_EQ(t.sort(sortByErrorCategory), 0);
    EXPECT_EQ(order(t), "m2 m4 m1 m3");
    t.sort(sortByFile);  // sorts by time
    EXPECT_EQ(order(t), "m2 m3 m1 m4");
    t.sort(sortByTime);
    EXPECT_EQ(order(t), "m2 m3 m1 m4");
    NetClient empty(5L);
    EXPECT_EQ(empty.sort(sortByErrorCategory), 0);
}

TEST(MsgFilter, entriesAreUniqueAndMatchExactly)
{
    MsgFilter f;
    EXPECT_EQ(f.suppress(MsgSuppression::ErrorCategory, "ABW"), 0);
    EXPECT_EQ(f.suppress(MsgSuppression::ErrorCategory, "ABW"), 1);
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
}
