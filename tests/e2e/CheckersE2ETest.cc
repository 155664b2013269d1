// Real checkers reporting into the real lumox: the example programs, built
// by the suite with gcc and clang and their sanitizers, run under lumox-run.

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/LumoxHarness.h"

using namespace lumox_test;

namespace {

using Lines = std::vector<std::string>;

const std::string examples = std::string(LUMOX_SOURCE_DIR) + "/examples/checkers/";

// Like lineOf: the index among the visible lines of the first one holding
// every one of `parts`, or -1.
int lineWithAll(const Lines& lines, std::initializer_list<std::string> parts)
{
    for (size_t i = 1; i < lines.size(); ++i) {
        bool all = true;
        for (const std::string& p : parts)
            all = all && lines[i].find(p) != std::string::npos;
        if (all)
            return static_cast<int>(i) - 1;
    }
    return -1;
}

// lumox-run with `args` in the examples' build directory, reporting to
// `lumox`; the programs see none of the runtime options the suite may run under.
bool startRun(Child& c, LumoxHarness& lumox, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {buildPath("bin/lumox-run")};
    argv.insert(argv.end(), args.begin(), args.end());
    return c.start(argv,
                   {"ASAN_OPTIONS=", "UBSAN_OPTIONS=", "LSAN_OPTIONS=", "TSAN_OPTIONS=",
                    "LUMOX_PORT=" + std::to_string(lumox.port())},
                   buildPath("examples"));
}

int runToEnd(LumoxHarness& lumox, const std::vector<std::string>& args)
{
    Child c;
    if (!startRun(c, lumox, args))
        return -1;
    int status = c.wait(60000);
    EXPECT_EQ(c.err().find("no Lumox"), std::string::npos) << c.err();
    return status;
}

}  // namespace

TEST(Checkers, eachCheckedProcessIsASessionWhoseFindingsShowPlaceThreadAndStacks)
{
    EditorScript editor;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL=" + editor.path + " +%l %f"}));
    EXPECT_EQ(runToEnd(lumox, {"./overflow-gcc"}), 1);
    EXPECT_EQ(runToEnd(lumox, {"./race-clang"}), 66);
    EXPECT_EQ(runToEnd(lumox, {"./leaks-clang"}), 1);
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "LEAK_direct") > 0; }));
    ASSERT_TRUE(lumox.waitForConnections(0));
    Lines l = lumox.content(headerList);
    EXPECT_GE(lineWithAll(l, {"Runtime: Executing \"./overflow-gcc\"", "pid="}), 0);
    EXPECT_GE(lineWithAll(l, {"heap-buffer-overflow", "Thread: T0", "overflow.c : 11"}), 0);
    EXPECT_GE(lineWithAll(l, {"data-race", "Thread: T", "race.c : 13"}), 0);
    EXPECT_GE(lineWithAll(l, {"LEAK_direct", "leaks.cc : 15"}), 0);

    // The address error's body: the report's lines, each frame with its
    // place, and a double click on a frame opens it.
    ASSERT_TRUE(lumox.selectLine("heap-buffer-overflow"));
    ASSERT_TRUE(lumox.waitForContent(bodyPane, [](const Lines& b) { return lineWithAll(b, {"#0 fill"}) >= 0; }));
    Lines body = lumox.content(bodyPane);
    EXPECT_GE(lineWithAll(body, {"ERROR: AddressSanitizer: heap-buffer-overflow on address"}), 0);
    EXPECT_GE(lineWithAll(body, {"~     #0 fill  " + examples + "overflow.c:11"}), 0);
    int frame = lineWithAll(body, {"~     #1 main  " + examples + "overflow.c:17"});
    EXPECT_GE(frame, 0);
    lumox.screenshot("checkers-address-session");
    ASSERT_TRUE(lumox.clickLine(bodyPane, frame, true));
    EXPECT_EQ(editor.waitForLog(1), "+17 " + examples + "overflow.c\n");

    ASSERT_TRUE(lumox.selectLine("data-race"));
    ASSERT_TRUE(lumox.waitForContent(bodyPane, [](const Lines& b) { return lineWithAll(b, {"Previous write"}) >= 0; }));
    lumox.screenshot("checkers-thread-race");
}

TEST(Checkers, aForkedChildIsASessionOfItsOwnAndBuildInterruptsALiveProgram)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    EXPECT_EQ(runToEnd(lumox, {"./forks-gcc"}), 0);
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "forks.c : 10") == 2; }));
    Lines l = lumox.content(headerList);
    std::set<std::string> pids;
    for (const std::string& line : l)
        if (line.find("Runtime: Executing \"./forks-gcc\"") != std::string::npos)
            pids.insert(line.substr(line.find("pid=")));
    EXPECT_EQ(pids.size(), 2u) << "parent and child sign on with their own pids";

    // The server keeps running after its finding: Build on its session
    // interrupts that very process, and lumox-run ends as it did.
    Child server;
    ASSERT_TRUE(startRun(server, lumox, {"./server-gcc"}));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& x) { return countLines(x, "misaligned-pointer-use") > 0; }));
    ASSERT_TRUE(lumox.selectLine("misaligned-pointer-use"));
    ASSERT_TRUE(lumox.clickWidget("actionGroup_work.build.build_button"));
    EXPECT_EQ(server.wait(20000), 128 + 2) << server.err();
    EXPECT_NE(server.err().find("./server-gcc was killed by SIGINT"), std::string::npos) << server.err();
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& x) { return countLines(x, "EXIT_summary") > 0; }));
    EXPECT_TRUE(lumox.waitForConnections(0));
}

TEST(Checkers, valgrindAndCppcheckFindingsArriveWithTheirOwnCategoriesAndPlaces)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    EXPECT_EQ(runToEnd(lumox, {"--valgrind", "./uninit"}), 0);
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "LEAK_DefinitelyLost") > 0; }));
    Lines l = lumox.content(headerList);
    EXPECT_GE(lineWithAll(l, {"Runtime: Executing \"./uninit\""}), 0);
    EXPECT_GE(lineWithAll(l, {"UninitCondition", "Thread: 1", "uninit.c : 18"}), 0);
    EXPECT_GE(lineWithAll(l, {"InvalidFree", "uninit.c : 21"}), 0);
    EXPECT_GE(lineWithAll(l, {"LEAK_DefinitelyLost", "uninit.c : 22"}), 0);

    // The second free's body shows where the block was freed first and
    // where it was allocated, each a stack.
    ASSERT_TRUE(lumox.selectLine("InvalidFree"));
    ASSERT_TRUE(lumox.waitForContent(bodyPane, [](const Lines& b) { return countLines(b, "Invalid free") > 0; }));
    Lines body = lumox.content(bodyPane);
    EXPECT_GE(lineWithAll(body, {"~", "main  " + examples + "uninit.c:21"}), 0);
    EXPECT_GE(lineWithAll(body, {"free'd"}), 0);
    lumox.screenshot("checkers-valgrind-session");

    Child lint;
    ASSERT_TRUE(lint.start({buildPath("bin/lumox-run"), "--cppcheck", "--", "--enable=warning", "lint.c"},
                           {"LUMOX_PORT=" + std::to_string(lumox.port())}, examples));
    EXPECT_EQ(lint.wait(60000), 0) << lint.err();
    // Five messages of each session: the findings (cppcheck: uninitvar,
    // arrayIndexOutOfBounds, nullPointer, memleak), the summaries.
    EXPECT_TRUE(lumox.waitForMessages(10)) << lumox.label("msgLbl");
}
