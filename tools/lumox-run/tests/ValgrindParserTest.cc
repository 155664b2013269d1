// The Valgrind reader on files Valgrind 3.19 wrote for the programs in
// data/programs, built with gcc -g -O0 in /tmp/lumox-vg and run there:
//   valgrind --tool=memcheck --xml=yes --xml-file=out/vg.%p --leak-check=full
//            --show-leak-kinds=all --trace-children=yes ./memerrors
//   valgrind --tool=helgrind|drd --xml=yes --xml-file=out/vg.%p ./race
//   valgrind --tool=memcheck --xml=yes --xml-file=out/vg.%p --leak-check=full
//            --gen-suppressions=all ./leakchecks
// vg-memcheck-forked.xml is the forked child's file as it stood before the
// child's exec truncated it; vg-memcheck-exec.xml what the exec'd program
// wrote there next. Each .txt is Valgrind's text log of the same run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/lumox-run/ValgrindParser.h"
#include "tools/lumox-run/tests/FindingProbe.h"

using namespace finding_probe;

namespace {

const std::string src = "/tmp/lumox-vg/";

std::vector<Finding> parse(const std::string& text, size_t step = 4096)
{
    std::vector<Finding> out;
    ValgrindParser p([&out](Finding&& f) { out.push_back(std::move(f)); });
    feed(p, text, step);
    p.finish();
    return out;
}

// "category file:line stacks thread" per finding, the file without `src`.
std::vector<std::string> outline(const std::vector<Finding>& found)
{
    std::vector<std::string> out;
    for (const Finding& f : found) {
        std::string at = where(f);
        if (at.compare(0, src.size(), src) == 0)
            at = at.substr(src.size());
        out.push_back(f.category + " " + at + " " + std::to_string(stacks(f)) + " " + f.thread);
    }
    return out;
}

// "==1234== x" -> "== x".
std::string withoutPid(const std::string& line)
{
    size_t end = line.compare(0, 2, "==") == 0 ? line.find("== ", 2) : std::string::npos;
    return end == std::string::npos ? line : "==" + line.substr(end);
}

// Whether every line of the printed findings is a line of Valgrind's text
// log, in the same order. DRD names the other thread of a segment only in
// text ("Other segment start (thread 3)"); such a line may end early.
testing::AssertionResult printedAsInLog(const std::vector<Finding>& found, const std::string& log)
{
    std::vector<std::string> logLines;
    size_t at = 0;
    while (at < log.size()) {
        size_t nl = log.find('\n', at);
        logLines.push_back(withoutPid(log.substr(at, nl - at)));
        at = nl == std::string::npos ? log.size() : nl + 1;
    }
    size_t cursor = 0;
    for (const Finding& f : found) {
        size_t from = 0;
        while (from < f.printed.size()) {
            size_t nl = f.printed.find('\n', from);
            std::string line = withoutPid(f.printed.substr(from, nl - from));
            from = nl == std::string::npos ? f.printed.size() : nl + 1;
            while (cursor < logLines.size() && logLines[cursor] != line
                   && logLines[cursor].compare(0, line.size() + 2, line + " (") != 0)
                ++cursor;
            if (cursor == logLines.size())
                return testing::AssertionFailure() << "not in the log, or out of order: " << line;
            ++cursor;
        }
    }
    return testing::AssertionSuccess();
}

std::string place(const Frame& f) { return f.file + ":" + std::to_string(f.line); }

const BodyPart& part(const Finding& f, size_t i)
{
    static const BodyPart none;
    return i < f.body.size() ? f.body[i] : none;
}

TEST(ValgrindParser, memcheckErrorsAndLeaksComeOutWithTheirKindUserLineAndStacksHoweverTheFileIsCut)
{
    const std::vector<std::string> expected = {
        "UninitCondition memerrors.c:50 1 1",       "InvalidRead memerrors.c:21 2 1",
        "InvalidWrite memerrors.c:26 2 1",          "InvalidFree memerrors.c:56 3 1",
        "SyscallParam memerrors.c:58 1 1",          "Overlap memerrors.c:60 1 1",
        "FishyValue memerrors.c:61 1 1",            "LEAK_DefinitelyLost memerrors.c:53 1 1",
        "LEAK_StillReachable memerrors.c:66 1 1",   "LEAK_IndirectlyLost memerrors.c:32 1 1",
        "LEAK_PossiblyLost memerrors.c:64 1 1",     "LEAK_DefinitelyLost memerrors.c:31 1 1",
        "LEAK_summary unknown 0 1"};
    std::string text = data("vg-memcheck.xml");
    for (size_t step : {size_t(1), size_t(5), size_t(4096)}) {
        SCOPED_TRACE(step);
        std::vector<Finding> found = parse(text, step);
        EXPECT_EQ(expected, outline(found));
        for (const Finding& f : found) {
            EXPECT_EQ(9174, f.pid);
            EXPECT_EQ("Memcheck", f.checker);
        }
    }

    // A free names where the block was freed before and where it came from,
    // each stack after its line, the frames as Valgrind names them.
    std::vector<Finding> found = parse(text);
    ASSERT_EQ(13u, found.size());
    const Finding& free = found[3];
    ASSERT_EQ(6u, free.body.size());
    EXPECT_EQ("Invalid free() / delete / delete[] / realloc()", part(free, 0).text);
    EXPECT_EQ("Address 0x4a42040 is 0 bytes inside a block of size 16 free'd", part(free, 2).text);
    EXPECT_EQ("Block was alloc'd at", part(free, 4).text);
    const std::vector<Frame>& allocated = part(free, 5).frames;
    ASSERT_EQ(2u, allocated.size());
    EXPECT_EQ("at malloc", allocated[0].label);
    EXPECT_EQ("/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so", allocated[0].module);
    EXPECT_EQ(0, allocated[0].line);
    EXPECT_EQ("by main", allocated[1].label);
    EXPECT_EQ("main", allocated[1].function);
    EXPECT_EQ(src + "memerrors.c", allocated[1].file);
    EXPECT_EQ(48, allocated[1].line);
    EXPECT_EQ(src + "memerrors.c:55", place(part(free, 3).frames.at(1)));
}

TEST(ValgrindParser, eachErrorIsHandedOnWhenItsElementClosesAndTheLeakSummaryWhenTheCheckEnds)
{
    std::string text = data("vg-memcheck.xml");
    std::vector<size_t> arrivals;
    ValgrindParser p([&](Finding&&) { arrivals.push_back(0); });
    std::vector<size_t> at;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t before = arrivals.size();
        p.feed(text.data() + i, 1);
        for (size_t n = before; n < arrivals.size(); ++n)
            at.push_back(i + 1);
    }
    std::vector<size_t> closes;
    for (size_t e = text.find("</error>"); e != std::string::npos; e = text.find("</error>", e + 1))
        closes.push_back(e + 8);
    closes.push_back(text.find("<errorcounts>") + 13);
    EXPECT_EQ(closes, at);
    EXPECT_EQ(9174, p.pid());
    EXPECT_EQ("./memerrors", p.command());
    EXPECT_EQ("memcheck", p.tool());

    // Cut right after the last leak, the check may go on: its summary waits
    // for the end of the process.
    std::vector<Finding> found;
    ValgrindParser cut([&found](Finding&& f) { found.push_back(std::move(f)); });
    cut.feed(text.data(), closes[closes.size() - 2]);
    EXPECT_EQ(12u, found.size());
    cut.finish();
    ASSERT_EQ(13u, found.size());
    const Finding& summary = found.back();
    EXPECT_EQ("LEAK_summary", summary.category);
    // Valgrind's own sums: the 32 bytes the second definite leak holds of
    // other blocks are indirectly lost, not definitely.
    std::vector<std::string> lines;
    for (const BodyPart& b : summary.body)
        lines.push_back(b.text);
    EXPECT_EQ((std::vector<std::string>{"LEAK SUMMARY:", "definitely lost: 48 bytes in 2 blocks",
                                        "indirectly lost: 32 bytes in 1 blocks", "possibly lost: 40 bytes in 1 blocks",
                                        "still reachable: 24 bytes in 1 blocks"}),
              lines);
}

TEST(ValgrindParser, leakChecksTheProgramAsksForOneAfterTheOtherEachHaveTheirSummary)
{
    std::vector<std::string> sums;
    for (const Finding& f : parse(data("vg-leakchecks.xml")))
        if (f.category == "LEAK_summary")
            sums.push_back(f.body.at(1).text);
    EXPECT_EQ((std::vector<std::string>{"definitely lost: 10 bytes in 1 blocks",
                                        "definitely lost: 30 bytes in 2 blocks",
                                        "definitely lost: 60 bytes in 3 blocks"}),
              sums);
}

TEST(ValgrindParser, whatIsPrintedIsWhatValgrindPrintsInText)
{
    EXPECT_TRUE(printedAsInLog(parse(data("vg-leakchecks.xml")), data("vg-leakchecks.txt")));
    EXPECT_TRUE(printedAsInLog(parse(data("vg-memcheck.xml")), data("vg-memcheck.txt")));
    EXPECT_TRUE(printedAsInLog(parse(data("vg-memcheck-exec.xml")), data("vg-memcheck-exec.txt")));
    EXPECT_TRUE(printedAsInLog(parse(data("vg-helgrind.xml")), data("vg-helgrind.txt")));
    EXPECT_TRUE(printedAsInLog(parse(data("vg-drd.xml")), data("vg-drd.txt")));
}

TEST(ValgrindParser, aFileTruncatedByAnExecStartsOverAndTheNewProgramsCrashIsATrappedSignal)
{
    std::vector<Finding> found;
    ValgrindParser p([&found](Finding&& f) { found.push_back(std::move(f)); });
    std::string forked = data("vg-memcheck-forked.xml");
    std::string exec = data("vg-memcheck-exec.xml");

    // The forked child's read of a freed block, before it exec'd.
    feed(p, forked, 1);
    EXPECT_EQ((std::vector<std::string>{"InvalidRead memerrors.c:21 3 1"}), outline(found));
    EXPECT_EQ(9245, p.pid());
    EXPECT_EQ("./memerrors", p.command());

    // Truncated in the middle of a record: the half record is gone with the
    // bytes, and the new document is read from its start.
    p.reset();
    feed(p, forked.substr(0, forked.size() / 2), 1);
    p.reset();
    EXPECT_EQ(0, p.pid());
    feed(p, exec, 1);
    p.finish();
    EXPECT_EQ((std::vector<std::string>{"InvalidRead memerrors.c:21 3 1", "InvalidRead memerrors.c:39 1 1",
                                        "SIGSEGV_trapped memerrors.c:39 1 1"}),
              outline(found));
    EXPECT_EQ("./memerrors crash-\xC3\xBC", p.command());  // its UTF-8 argument cut byte by byte
    const Finding& signal = found.back();
    EXPECT_EQ("Process terminating with default action of signal 11 (SIGSEGV)", part(signal, 0).text);
    EXPECT_EQ("Access not within mapped region at address 0x0", part(signal, 1).text);
    EXPECT_EQ("at crash", part(signal, 2).frames.at(0).label);
}

TEST(ValgrindParser, threadCheckersNameTheirOwnThreadsAndShowBothSidesOfARace)
{
    // Valgrind gave the racing thread number 2 again (the first thread had
    // ended); Helgrind calls it #3, as its text does.
    std::vector<Finding> helgrind = parse(data("vg-helgrind.xml"), 3);
    EXPECT_EQ((std::vector<std::string>{"Race race.c:22 4 3", "Race race.c:22 4 3", "UnlockBogus race.c:37 1 1"}),
              outline(helgrind));
    const Finding& race = helgrind[0];
    EXPECT_EQ("Helgrind", race.checker);
    EXPECT_EQ("This conflicts with a previous write of size 8 by thread #4", part(race, 2).text);
    EXPECT_EQ(src + "race.c", part(race, 3).frames.at(0).file);
    EXPECT_EQ("Thread #3 was created", part(race, 5).text);
    EXPECT_EQ(src + "race.c:33", place(part(race, 6).frames.back()));
    EXPECT_EQ("Thread #4 was created", part(race, 7).text);

    std::vector<Finding> drd = parse(data("vg-drd.xml"), 3);
    EXPECT_EQ((std::vector<std::string>{"ConflictingAccess race.c:22 3 3", "ConflictingAccess race.c:22 3 3",
                                        "ConflictingAccess race.c:21 3 3", "MutexErr race.c:37 1 1"}),
              outline(drd));
    EXPECT_EQ("DRD", drd[0].checker);
    EXPECT_EQ("Other segment start", part(drd[0], 3).text);
    EXPECT_EQ("by count", part(drd[0], 4).frames.at(1).label);
}

TEST(ValgrindParser, brokenOrHostileFilesAreReportedAndNeverTakeTheReaderDown)
{
    const std::string head = "<?xml version=\"1.0\"?>\n<valgrindoutput>\n<pid>7</pid>\n";
    auto error = [](const std::string& inside) { return "<error><kind>InvalidRead</kind>" + inside + "</error>\n"; };
    std::vector<Finding> found;
    ValgrindParser p([&found](Finding&& f) { found.push_back(std::move(f)); });

    // Broken XML: said once with its place, the rest ignored until the file
    // starts anew.
    std::string broken = head + error("<what>a</what>") + "<error><kind>X</kind></eror>\n" + error("");
    EXPECT_EQ(-1, p.feed(broken.data(), broken.size()));
    EXPECT_NE(std::string::npos, p.error().find("line 5")) << p.error();
    EXPECT_EQ(-1, p.feed(head.data(), head.size()));
    EXPECT_EQ(1u, found.size());
    p.reset();
    EXPECT_EQ("", p.error());

    // Bytes that are no XML characters (a path in Latin-1, a control
    // character in an argument) stand as '?' instead of breaking the file.
    std::string odd = head + error("<what>at caf\xE9\x01</what><stack><frame><ip>0x1</ip><fn>f\xC3\xBC\xFF</fn>"
                                   "<dir>/s</dir><file>a.c</file><line>3</line></frame></stack>");
    EXPECT_EQ(0, p.feed(odd.data(), odd.size()));
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ("at caf??", part(found[1], 0).text);
    EXPECT_EQ("f\xC3\xBC?", part(found[1], 1).frames.at(0).function);
    EXPECT_EQ("/s/a.c:3", where(found[1]));

    // Deep nesting, a huge text, a huge stack: kept to a bound, the error
    // still whole.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<x>";
    for (int i = 0; i < 100000; ++i)
        deep += "</x>";
    std::string frames;
    for (int i = 0; i < 5000; ++i)
        frames += "<frame><ip>0x1</ip><fn>f</fn></frame>";
    std::string big = error(deep + "<what>" + std::string(10 << 20, 'w') + "</what><stack>" + frames + "</stack>");
    feed(p, big, 65536);
    ASSERT_EQ(3u, found.size()) << p.error();
    EXPECT_EQ(64u * 1024, part(found[2], 0).text.size());
    EXPECT_EQ(500u, part(found[2], 1).frames.size());

    // A tag that never ends, entities that expand, a file of another kind.
    std::string endless = "<error kind='" + std::string(5 << 20, 'k');
    EXPECT_EQ(-1, p.feed(endless.data(), endless.size()));
    EXPECT_NE(std::string::npos, p.error().find("tag longer")) << p.error();
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE v [<!ENTITY a \"aaaaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><valgrindoutput>&b;";
    const std::string other = "<?xml version=\"1.0\"?><results version=\"2\"><errors>";
    for (const std::string& text : {laughs, other}) {
        p.reset();
        EXPECT_EQ(-1, p.feed(text.data(), text.size()));
        EXPECT_FALSE(p.error().empty());
    }
    p.finish();
    EXPECT_EQ(3u, found.size());
}

}  // namespace
