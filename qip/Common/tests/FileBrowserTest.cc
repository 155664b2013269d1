#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "qip/Common/FileBrowser.h"
#include "tests/support/TestSupport.h"

namespace {

std::string fileWith(const std::string& name, const std::string& text)
{
    return lumox_test::scratchFile("file-browser", name, text);
}

std::string lineOf(FileBrowser& b, long n)
{
    int len = -1;
    char* text = b.getLine(n, len);
    EXPECT_EQ(text ? static_cast<int>(std::string(text).size()) : 0, len);
    return text ? text : "<none>";
}

}  // namespace

TEST(FileBrowser, scanRecordsLineStartsTabsAndTheLongestLine)
{
    FileBrowser b;
    ASSERT_EQ(b.open(fileWith("scan.txt", "abc\nd\n\tefgh").c_str()), 0);
    ASSERT_EQ(b.nLines(), 3);
    EXPECT_EQ(b.line(2)->_offset, 6);
    EXPECT_EQ(b.line(2)->_tabs, 1);
    EXPECT_EQ(b.line(0)->_tabs, 0);
    // "\tefgh" is the longest both in bytes and, tab expanded, in columns.
    EXPECT_EQ(b.maxLineSz(), 5);
    EXPECT_EQ(b.maxWidth(), 12);
    EXPECT_EQ(b.linesRead(), 0) << "the scan reads no line text";

    std::ostringstream dump;
    dump << b;
    EXPECT_EQ(dump.str(), " Line info dump for file " + std::string(b.filename()) +
                              "\n    Line 0:   offset=0\n    Line 1:   offset=4\n    Line 2:   offset=6\n");
}

TEST(FileBrowser, tabsExpandToTheNextMultipleOfEight)
{
    FileBrowser b;
    ASSERT_EQ(b.open(fileWith("tabs.txt", "abc\tX\nabcdefgh\tX\n\t\tX\na\tb\tc").c_str()), 0);
    EXPECT_EQ(lineOf(b, 0), "abc     X");
    EXPECT_EQ(lineOf(b, 1), "abcdefgh        X");
    EXPECT_EQ(lineOf(b, 3), "a       b       c");
}

TEST(FileBrowser, aFinalNewlineLeavesAnEmptyLastLineAndWithoutOneTheLastLineCounts)
{
    FileBrowser b;
    ASSERT_EQ(b.open(fileWith("nl.txt", "one\ntwo\n").c_str()), 0);
    EXPECT_EQ(b.nLines(), 3);
    EXPECT_EQ(lineOf(b, 1), "two");
    EXPECT_EQ(lineOf(b, 2), "");
    EXPECT_EQ(lineOf(b, 3), "<none>");
    EXPECT_EQ(lineOf(b, -1), "<none>");

    ASSERT_EQ(b.open(fileWith("nonl.txt", "one\ntwo").c_str()), 0);
    EXPECT_EQ(b.nLines(), 2);
    EXPECT_EQ(lineOf(b, 1), "two");
    EXPECT_EQ(b.maxLineSz(), 4);

    ASSERT_EQ(b.open(fileWith("empty.txt", "").c_str()), 0);
    EXPECT_EQ(b.nLines(), 1);
    EXPECT_EQ(lineOf(b, 0), "");
}

TEST(FileBrowser, eachLineIsReadFromTheFileOnlyOnceAndOnlyWhenAskedFor)
{
    std::string path = fileWith("lazy.txt", "first\nsecond\nthird\n");
    FileBrowser b;
    ASSERT_EQ(b.open(path.c_str()), 0);
    EXPECT_EQ(lineOf(b, 1), "second");
    // Same length, other text, same file: only lines not read yet show it.
    FILE* f = fopen(path.c_str(), "r+");
    ASSERT_NE(f, nullptr);
    fputs("FIRST\nSECOND\nTHIRD\n", f);
    fclose(f);
    EXPECT_EQ(lineOf(b, 1), "second");
    EXPECT_EQ(lineOf(b, 0), "FIRST");
    EXPECT_EQ(b.linesRead(), 2);
}

TEST(FileBrowser, openingNothingOrAMissingFileFailsAndCloseForgetsTheFile)
{
    FileBrowser b;
    EXPECT_EQ(b.open(nullptr), -1);
    EXPECT_EQ(b.open(""), -1);
    ASSERT_EQ(b.open(fileWith("there.txt", "x\n").c_str()), 0);
    EXPECT_EQ(b.open((lumox_test::scratchDir("file-browser") + "/missing.txt").c_str()), -1);
    EXPECT_FALSE(b.isOpen()) << "a failed open still closes the file open before";
    EXPECT_EQ(lineOf(b, 0), "<none>");

    ASSERT_EQ(b.open(fileWith("there.txt", "x\n").c_str()), 0);
    EXPECT_EQ(b.close(), 0);
    EXPECT_EQ(b.filename(), nullptr);
    EXPECT_EQ(b.nLines(), 0);
    EXPECT_EQ(b.search("x"), 0);
}
