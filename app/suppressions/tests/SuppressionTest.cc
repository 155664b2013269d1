#include <gtest/gtest.h>

#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "app/records/ZxErrMsg.h"

namespace {

Suppression parsed(const char* value, int* result = nullptr)
{
    Suppression s;
    int r = s.parse(value);
    if (result)
        *result = r;
    return s;
}

int parseResult(const char* value)
{
    int r = 0;
    parsed(value, &r);
    return r;
}

// A violation record: item, severity, file and class as a client reports them.
SuprRec violation(int item, int severity, const char* file, const char* cls = nullptr)
{
    return SuprRec(item, severity, file, cls);
}

}  // namespace

TEST(SuprRecGrammar, keywordsInAnyCaseAndSpellingAndBadValues)
{
    Suppression s = parsed("item 12 type pv class Foo* file src/*.cc");
    EXPECT_EQ(s._tag, 12);
    EXPECT_EQ(s._severity, 2);
    EXPECT_STREQ(s._classname, "Foo*");
    EXPECT_STREQ(s._filename, "src/*.cc");
    Suppression t = parsed("ITEM 3 Ty_pe PSV Class_ Bar");
    EXPECT_EQ(t._tag, 3);
    EXPECT_EQ(t._severity, 4);
    EXPECT_STREQ(t._classname, "Bar");
    EXPECT_EQ(parsed("type S-V")._severity, 5);

    Suppression all = parsed("item 7 all type v");
    EXPECT_EQ(all._tag, 7);
    EXPECT_EQ(all._severity, 0) << "nothing after all is read";
    EXPECT_EQ(parseResult("all"), 0);
    for (const char* bad : {"", "   ", "type x", "type", "item", "item twelve", "colour red", "item 3 class"})
        EXPECT_EQ(parseResult(bad), -1) << bad;
}

TEST(SuprRecWildcards, starAndQuestionMarkMatchCaseSensitively)
{
    EXPECT_TRUE(SuprRec::streq("src/*/x?.h", "src/lib/x1.h"));
    EXPECT_FALSE(SuprRec::streq("src/*/x?.h", "src/lib/x12.h"));
    EXPECT_TRUE(SuprRec::streq("a*b*c", "aXXbYYc"));
    EXPECT_FALSE(SuprRec::streq("a*b*c", "aXXbYY"));
    EXPECT_TRUE(SuprRec::streq("*", ""));
    EXPECT_TRUE(SuprRec::streq("Foo*", "Foo"));
    EXPECT_FALSE(SuprRec::streq("foo*", "Foo"));
    EXPECT_FALSE(SuprRec::streq("?", ""));
    EXPECT_TRUE(SuprRec::streq("**x", "abx"));
}

TEST(SuppressionMatching, zeroAndMissingFieldsMatchAnythingButAClassPatternNeedsAClass)
{
    EXPECT_TRUE(parsed("all") == violation(12, 3, "/src/a.cc", "Foo"));
    Suppression item = parsed("item 12");
    EXPECT_TRUE(item == violation(12, 2, "a.cc", "Money"));
    EXPECT_FALSE(item == violation(11, 2, "a.cc"));
    EXPECT_TRUE(item == violation(0, 2, "a.cc")) << "a record without item matches any item";

    Suppression typed = parsed("type sv file */legacy/*");
    EXPECT_TRUE(typed == violation(14, 5, "/home/x/legacy/old.cc", "Base"));
    EXPECT_FALSE(typed == violation(14, 4, "/home/x/legacy/old.cc", "Base"));
    EXPECT_FALSE(typed == violation(14, 5, "/home/x/new/old.cc", "Base"));

    EXPECT_TRUE(parsed("item 23 class *") == violation(23, 3, "a.cc"));
    Suppression foo = parsed("class Foo*");
    EXPECT_TRUE(foo == violation(1, 1, "a.cc", "FooBar"));
    EXPECT_FALSE(foo == violation(1, 1, "a.cc", "Bar"));
    EXPECT_FALSE(foo == violation(1, 1, "a.cc"));
}

TEST(SuprRecFromViolation, itemSeverityClassAndFileComeFromTheMessage)
{
    ZxErrMsg m(1);
    char header[] = "<Zentrix><h><d><t><1><0><EffC++12></src/x/a.cc><6><Buffer><2><Prefer init><Effective C++>";
    m.extract(header);
    SuprRec r(&m);
    EXPECT_EQ(r._tag, 12);
    EXPECT_EQ(r._severity, 2);
    EXPECT_STREQ(r._classname, "Buffer");
    EXPECT_STREQ(r._filename, "/src/x/a.cc");

    ZxErrMsg bare(1);
    char plain[] = "<Zentrix><h><d><t><1><0><EffC++23><a.cc><6><><3><><>";
    bare.extract(plain);
    EXPECT_EQ(SuprRec(&bare)._classname, nullptr);
}

TEST(SuprFilePrecedence, theLastMatchingEntryOfTheFileDecides)
{
    SuprFile f;
    ASSERT_GT(f.addSuppression("suppress", "all"), 0);
    ASSERT_GT(f.addSuppression("unsuppress", "item 7"), 0);
    EXPECT_EQ(f.isSuppressed(violation(7, 3, "a.cc")), 0);
    EXPECT_EQ(f.isSuppressed(violation(8, 3, "a.cc")), 1);
    EXPECT_EQ(f.addSuppression("suppress", "type zz"), -1) << "a bad line is not added";
    EXPECT_EQ(f.nSuppressions(), 2);
    // No matching entry: the file has no say.
    SuprFile narrow;
    narrow.addSuppression("suppress", "item 9");
    EXPECT_EQ(narrow.isSuppressed(violation(7, 3, "a.cc")), -1);
}
