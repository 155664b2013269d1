#include <gtest/gtest.h>

#include "qip/Support/List.h"

namespace {
int a = 1, b = 2, c = 3, d = 4;

std::vector<int*> contents(const List<int*>& l)
{
    std::vector<int*> out;
    for (ListIterator<int*> it(l); it.valid(); it.next())
        out.push_back(it.current());
    return out;
}
}  // namespace

TEST(List, appendPrependAndJoinKeepTheOrderTheyPromiseAndOutOfRangeIsNull)
{
    List<int*> l;
    EXPECT_EQ(l.first(), nullptr);
    EXPECT_EQ(l.last(), nullptr);
    l.append(&b);
    l.prepend(&a);
    l.append(&d);
    l.join(&c, l.find(&b));
    EXPECT_EQ(contents(l), (std::vector<int*>{&a, &b, &c, &d}));
    EXPECT_EQ(l.length(), 4);
    EXPECT_EQ(l.last(), &d);
    EXPECT_EQ(l.at(1), &b);
    EXPECT_EQ(l.at(4), nullptr);
    EXPECT_EQ(l.at(-1), nullptr);
    l.join(&d, nullptr);  // a null link inserts at the front
    EXPECT_EQ(l.first(), &d);
    int elsewhere = 5;
    EXPECT_EQ(l.find(&elsewhere), nullptr);
}

TEST(List, removeUnlinksTheFirstOccurrenceOnlyAndNeverTheDatum)
{
    List<int*> l;
    l.append(&a);
    l.append(&b);
    l.append(&a);
    EXPECT_EQ(l.remove(&a), 0);
    EXPECT_EQ(contents(l), (std::vector<int*>{&b, &a}));
    EXPECT_EQ(l.remove(&c), -1);
    EXPECT_EQ(l.length(), 2);
    EXPECT_EQ(a, 1);
    l.remove(&b);
    l.remove(&a);
    EXPECT_TRUE(l.empty());
    EXPECT_EQ(l.first(), nullptr);
}

TEST(ListIterator, findAndIndexGivePositionsAndWalkBothWays)
{
    List<int*> l;
    for (int* p : {&a, &b, &c})
        l.append(p);
    ListIterator<int*> it(l);
    EXPECT_EQ(it.index(), 0);
    EXPECT_EQ(it.find(&c), 2);
    EXPECT_EQ(it.index(), 2);
    EXPECT_EQ(it.prev(), &b);
    EXPECT_EQ(it.peekPrev(), &a);
    EXPECT_EQ(it.peekNext(), &c);
    EXPECT_EQ(it.next(), &c);
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_FALSE(it.valid());
    EXPECT_EQ(it.index(), -1);
    EXPECT_EQ(it.find(&d), -1);
    EXPECT_EQ(it.last(), &c);
    EXPECT_EQ(it.first(), &a);
}

TEST(List, holdsValuesToo)
{
    List<long> lines;
    lines.append(12);
    lines.append(40);
    EXPECT_EQ(lines.at(1), 40);
    EXPECT_EQ(lines.at(5), 0);
    EXPECT_EQ(lines.remove(12), 0);
    EXPECT_EQ(lines.first(), 40);
}
