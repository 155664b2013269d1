// The cppcheck reader on what cppcheck 2.10 wrote for data/programs/src,
// run in /tmp/lumox-vg/cpp as
//   cppcheck --xml --xml-version=2 --enable=all src 2> cppcheck.xml
// cppcheck.txt is its text output for the same run (without --xml).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/lumox-run/CppcheckParser.h"
#include "tools/lumox-run/tests/FindingProbe.h"

using namespace finding_probe;

namespace {

const std::string cwd = "/tmp/lumox-vg/cpp";

std::vector<Finding> parse(const std::string& text, size_t step = 4096, const std::string& dir = cwd)
{
    std::vector<Finding> out;
    CppcheckParser p(31, dir, [&out](Finding&& f) { out.push_back(std::move(f)); });
    feed(p, text, step);
    p.finish();
    return out;
}

std::string lines(const Finding& f)
{
    std::string out;
    for (const BodyPart& p : f.body)
        if (!p.isStack())
            out += p.text + "|";
    return out;
}

TEST(CppcheckParser, eachErrorIsAFindingAtItsPrimaryLocationWithTheRunsNotesLeftOut)
{
    const std::vector<std::string> expected = {
        "nullPointer src/calls.cpp:6",   "zerodiv src/calls.cpp:18",          "constParameter src/calls.cpp:4",
        "containerOutOfBounds src/calls.cpp:24", "stlOutOfBounds src/calls.cpp:24",
        "arrayIndexOutOfBounds src/lint.c:16", "memleak src/lint.c:31", "nullPointerRedundantCheck src/lint.c:21",
        "constVariable src/lint.c:15",   "uninitvar src/lint.c:10",           "unassignedVariable src/lint.c:9",
        "ctunullpointer src/calls.cpp:6", "unusedFunction src/calls.cpp:9",   "unusedFunction src/calls.cpp:15",
        "unusedFunction src/calls.cpp:21", "unusedFunction src/lint.c:7",     "unusedFunction src/lint.c:13",
        "unusedFunction src/lint.c:19",  "unusedFunction src/lint.c:27"};
    std::string text = data("cppcheck.xml");
    for (size_t step : {size_t(1), size_t(4096)}) {
        SCOPED_TRACE(step);
        std::vector<Finding> found = parse(text, step);
        std::vector<std::string> got;
        for (const Finding& f : found) {
            // Relative to the directory cppcheck ran in, made absolute.
            EXPECT_EQ(0u, f.file.find(cwd + "/")) << f.file;
            got.push_back(f.category + " " + f.file.substr(cwd.size() + 1) + ":" + std::to_string(f.line));
            EXPECT_EQ(31, f.pid);
            EXPECT_EQ("cppcheck", f.checker);
            EXPECT_EQ("", f.thread);
        }
        // missingInclude, an information on the run with no place, is not one.
        EXPECT_EQ(expected, got);
    }
    std::vector<Finding> found = parse(text);
    EXPECT_EQ("Uninitialized variable: value|severity: error|CWE-457|", lines(found[9]));
}

TEST(CppcheckParser, aPathThroughTheCodeIsATraceInTheOrderTheProgramTakesIt)
{
    std::vector<Finding> found = parse(data("cppcheck.xml"));
    ASSERT_FALSE(found.empty());
    const Finding& f = found[0];
    ASSERT_EQ(4u, f.body.size());  // the message, severity, CWE and the trace
    const std::vector<Frame>& trace = f.body.back().frames;
    ASSERT_EQ(3u, trace.size());
    EXPECT_EQ(cwd + "/src/calls.cpp", trace[0].file);
    EXPECT_EQ(11, trace[0].line);
    EXPECT_EQ("Assignment 'none=nullptr', assigned value is 0", trace[0].label);
    EXPECT_EQ(12, trace[1].line);
    EXPECT_EQ("Calling function 'deref', 1st argument 'none' value is 0", trace[1].label);
    EXPECT_EQ(6, trace[2].line);
    EXPECT_EQ("Null pointer dereference", trace[2].label);
    EXPECT_EQ(cwd + "/src/calls.cpp", f.file);
    EXPECT_EQ(6, f.line);
}

TEST(CppcheckParser, whatIsPrintedIsCppchecksOwnTextInItsOrder)
{
    std::string log = data("cppcheck.txt");
    size_t cursor = 0;
    for (const Finding& f : parse(data("cppcheck.xml"))) {
        size_t from = 0;
        while (from < f.printed.size()) {
            size_t nl = f.printed.find('\n', from);
            std::string line = f.printed.substr(from, nl - from + 1);
            from = nl + 1;
            size_t at = log.find(line, cursor);
            ASSERT_NE(std::string::npos, at) << line;
            EXPECT_TRUE(at == 0 || log[at - 1] == '\n') << line;
            cursor = at + line.size();
        }
    }
}

TEST(CppcheckParser, errorsWithoutAPlaceAndBrokenOutput)
{
    // Only information on the run is left out; anything else without a
    // location stays, its place unknown. A path cppcheck gave absolute stays.
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results version=\"2\"><errors>\n"
                       "<error id=\"checkersReport\" severity=\"information\" msg=\"Active checkers: 12/50\"/>\n"
                       "<error id=\"internalAstError\" severity=\"error\" msg=\"Syntax Error: AST broken\" "
                       "verbose=\"Syntax Error: AST broken, binary operator has only one operand.\"/>\n"
                       "<error id=\"uninitvar\" severity=\"error\" msg=\"m\" inconclusive=\"true\">"
                       "<location file=\"/abs/x.c\" line=\"4\" column=\"2\"/></error>\n"
                       "<error id=\"shadowVariable\" severity=\"style\" msg=\"s\">"
                       "<location file=\"./y.c\" line=\"3\" column=\"1\" info=\"here\"/></error>\n";
    std::vector<Finding> found = parse(text, 1, "/work/");
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ("", found[0].file);
    EXPECT_EQ("nofile:0:0: error: Syntax Error: AST broken [internalAstError]\n", found[0].printed);
    EXPECT_EQ("Syntax Error: AST broken|Syntax Error: AST broken, binary operator has only one operand.|"
              "severity: error|",
              lines(found[0]));
    EXPECT_EQ("/abs/x.c", found[1].file);
    EXPECT_EQ("/abs/x.c:4:2: error: inconclusive: m [uninitvar]\n", found[1].printed);
    EXPECT_EQ("/work/y.c", found[2].file);

    std::vector<Finding> none;
    CppcheckParser p(1, "/", [&none](Finding&& f) { none.push_back(std::move(f)); });
    const std::string broken = "<results><errors><error id=\"a\"><location file=\"f\"></error>";
    EXPECT_EQ(-1, p.feed(broken.data(), broken.size()));
    EXPECT_FALSE(p.error().empty());
    CppcheckParser q(1, "/", [&none](Finding&& f) { none.push_back(std::move(f)); });
    const std::string other = "<valgrindoutput><error><kind>Race</kind></error>";
    EXPECT_EQ(-1, q.feed(other.data(), other.size()));
    EXPECT_NE(std::string::npos, q.error().find("not cppcheck's")) << q.error();
    p.finish();
    q.finish();
    EXPECT_TRUE(none.empty());
}

}  // namespace
