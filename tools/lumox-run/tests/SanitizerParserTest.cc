// The sanitizer reader on logs the runtimes of gcc 12 and clang 14 wrote for
// the programs in examples/checkers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/lumox-run/SanitizerParser.h"
#include "tools/lumox-run/tests/FindingProbe.h"

using namespace finding_probe;

namespace {

const std::string src = "/work/main/examples/checkers/";

// Every finding of `text`, fed in pieces of `step` bytes.
std::vector<Finding> parse(const std::string& text, size_t step = 4096,
                           SanitizerParser::Source source = SanitizerParser::LogFile)
{
    std::vector<Finding> out;
    SanitizerParser p(42, [&out](Finding&& f) { out.push_back(std::move(f)); }, source);
    feed(p, text, step);
    p.finish();
    return out;
}

TEST(SanitizerParser, addressErrorsOfBothCompilersNameTheUserLineTheThreadAndBothStacks)
{
    for (const char* log : {"san-overflow-gcc.log", "san-overflow-clang.log"}) {
        SCOPED_TRACE(log);
        std::string text = data(log);
        // Byte by byte, as a slow runtime writes it, gives the same finding.
        for (size_t step : {size_t(1), size_t(4096)}) {
            std::vector<Finding> found = parse(text, step);
            ASSERT_EQ(1u, found.size());
            const Finding& f = found[0];
            EXPECT_EQ("heap-buffer-overflow", f.category);
            EXPECT_EQ("AddressSanitizer", f.checker);
            EXPECT_EQ(42, f.pid);
            EXPECT_EQ("T0", f.thread);
            EXPECT_EQ(src + "overflow.c:11", where(f));
            EXPECT_EQ(2, stacks(f));  // the write, and where the buffer came from
            std::string body = messageBody(f);
            EXPECT_NE(std::string::npos, body.find("<" + src + "overflow.c:11>    #0 fill"));
            EXPECT_NE(std::string::npos, body.find("SUMMARY: AddressSanitizer: heap-buffer-overflow"));
            EXPECT_EQ(std::string::npos, body.find("Shadow byte")) << body;
            EXPECT_EQ(std::string::npos, body.find("==")) << body;
        }
    }
}

TEST(SanitizerParser, aCrashIsATrappedSignalAtTheFaultingLine)
{
    for (const char* log : {"san-crash-gcc.log", "san-crash-clang.log"}) {
        SCOPED_TRACE(log);
        std::vector<Finding> found = parse(data(log));
        ASSERT_EQ(1u, found.size());
        EXPECT_EQ("SIGSEGV_trapped", found[0].category);
        EXPECT_EQ("T0", found[0].thread);
        EXPECT_EQ(src + "crash.c:12", where(found[0]));
    }
}

TEST(SanitizerParser, aLeakCheckGivesOneFindingPerLeakAtItsAllocationAndASummary)
{
    for (const char* log : {"san-leaks-gcc.log", "san-leaks-clang.log", "san-leaks-lsan-gcc.log"}) {
        SCOPED_TRACE(log);
        std::vector<Finding> found = parse(data(log));
        ASSERT_GE(found.size(), 3u);
        for (size_t i = 0; i + 1 < found.size(); ++i) {
            EXPECT_TRUE(found[i].category == "LEAK_direct" || found[i].category == "LEAK_indirect");
            EXPECT_EQ("LeakSanitizer", found[i].checker);
            EXPECT_EQ(1, stacks(found[i]));
        }
        // The allocation itself (operator new) is the runtime's; the user's
        // line is the one that called it.
        EXPECT_EQ(src + "leaks.cc:15", where(found[0]));
        const Finding& summary = found.back();
        EXPECT_EQ("LEAK_summary", summary.category);
        EXPECT_NE(std::string::npos, messageBody(summary).find("byte(s) leaked in"));
    }
}

TEST(SanitizerParser, undefinedBehaviourIsNamedByItsCheckFromTheLogOrFromTheTextOnStandardError)
{
    const std::vector<std::string> expected = {"signed-integer-overflow arith.c:9", "invalid-shift-exponent arith.c:14"};
    auto summarize = [](const std::vector<Finding>& found) {
        std::vector<std::string> out;
        for (const Finding& f : found)
            out.push_back(f.category + " " + where(f).substr(src.size()));
        return out;
    };
    EXPECT_EQ(expected, summarize(parse(data("san-arith-gcc.log"))));
    EXPECT_EQ(expected, summarize(parse(data("san-arith-clang.log"))));

    // gcc's address and undefined runtimes together: the undefined reports
    // go to standard error among the program's own lines, without a check
    // name, and the log holds only their summaries, which say nothing new.
    std::string stderrText = "starting\n" + data("san-arith-asan-ubsan-gcc.stderr") + "done: 3 items\n";
    std::vector<Finding> found = parse(stderrText, 7, SanitizerParser::StandardError);
    EXPECT_EQ(expected, summarize(found));
    EXPECT_EQ(std::string::npos, messageBody(found.back()).find("done")) << messageBody(found.back());
    EXPECT_TRUE(parse(data("san-arith-asan-ubsan-gcc.log")).empty());
}

TEST(SanitizerParser, aDataRaceNamesTheFirstAccessThreadAndShowsEveryStack)
{
    for (const char* log : {"san-race-gcc.log", "san-race-clang.log"}) {
        SCOPED_TRACE(log);
        std::vector<Finding> found = parse(data(log));
        ASSERT_EQ(1u, found.size());
        const Finding& f = found[0];
        EXPECT_EQ("data-race", f.category);
        EXPECT_EQ("ThreadSanitizer", f.checker);
        EXPECT_TRUE(f.thread == "T1" || f.thread == "T2") << f.thread;
        EXPECT_EQ(src + "race.c:13", where(f));
        EXPECT_EQ(4, stacks(f));  // both accesses, and where each thread was made
    }
}

TEST(SanitizerParser, aReportWaitsForItsClosingLineAndACutOneIsKeptAtTheEnd)
{
    std::string text = data("san-overflow-gcc.log");
    size_t cut = text.find("allocated by thread");
    std::vector<Finding> found;
    SanitizerParser p(7, [&found](Finding&& f) { found.push_back(std::move(f)); });
    p.feed(text.data(), cut);
    EXPECT_TRUE(found.empty());  // a pause in the middle ends nothing
    p.finish();
    ASSERT_EQ(1u, found.size());
    EXPECT_NE(std::string::npos, messageBody(found[0]).find("the process stopped before it was complete"));

    // The log written anew after an exec starts from nothing.
    found.clear();
    p.feed(text.data(), cut);
    p.reset();
    p.feed(text.data(), text.size());
    p.finish();
    EXPECT_EQ(1u, found.size());
}

TEST(SanitizerParser, hostileTextCostsNothingAndSpoilsNoLaterReport)
{
    // A line of a megabyte, binary junk, a start line with nothing after it.
    std::string junk(1 << 20, 'x');
    junk += "\n";
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>(i * 37);
    junk += "\n==1==ERROR: AddressSanitizer: \n    #0 \n    #999999999999 0x in\nSUMMARY: \n";
    std::vector<Finding> found = parse(junk + data("san-overflow-gcc.log"), 977);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ("heap-buffer-overflow", found.back().category);
    EXPECT_EQ(src + "overflow.c:11", where(found.back()));
}

TEST(SanitizerParser, frameLinesOfEveryShape)
{
    Frame f;
    ASSERT_TRUE(parseSanitizerFrame("    #3 0x4011f6 in std::vector<int, std::allocator<int> >::at(unsigned long) "
                                    "/usr/include/c++/12/bits/stl_vector.h:1123:7",
                                    f));
    EXPECT_EQ("std::vector<int, std::allocator<int> >::at(unsigned long)", f.function);
    EXPECT_EQ("/usr/include/c++/12/bits/stl_vector.h", f.file);
    EXPECT_EQ(1123, f.line);
    EXPECT_FALSE(isUserFrame(f));

    ASSERT_TRUE(parseSanitizerFrame("    #0 pthread_create <null> (race-clang+0x513ad) (BuildId: c00ca31)", f));
    EXPECT_EQ("pthread_create", f.function);
    EXPECT_EQ("race-clang", f.module);
    EXPECT_TRUE(f.file.empty());

    ASSERT_TRUE(parseSanitizerFrame("    #2 0x7f2cad024249 (/lib/x86_64-linux-gnu/libc.so.6+0x2724a)", f));
    EXPECT_EQ("", f.function);
    EXPECT_EQ("/lib/x86_64-linux-gnu/libc.so.6", f.module);
    EXPECT_EQ("#2 ??", f.label);

    EXPECT_FALSE(parseSanitizerFrame("#include <stdio.h>", f));
    EXPECT_FALSE(parseSanitizerFrame("  #1", f));
}

}  // namespace
