#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "qip/Support/cmdln.h"

namespace {

std::vector<std::string> seen;

void record(char** arg, match* m)
{
    std::string s = m->option->name;
    s += "(";
    s += arg && *arg ? *arg : "-";
    s += ")";
    seen.push_back(s);
}

option table[] = {{"verbose", 0, record}, {"x", 0, record}, {"file", 1, record}, {"pair", 2, record},
                  {nullptr, 0, nullptr}};
option empty[] = {{nullptr, 0, nullptr}};

// A writable argv with a trailing null, as main receives it.
struct Argv {
    std::vector<std::string> store;
    std::vector<char*> ptrs;
    int argc;
    explicit Argv(std::vector<std::string> args) : store(std::move(args))
    {
        for (std::string& s : store)
            ptrs.push_back(&s[0]);
        ptrs.push_back(nullptr);
        argc = static_cast<int>(store.size());
    }
    std::vector<std::string> left() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < argc; ++i)
            out.push_back(ptrs[i]);
        EXPECT_EQ(ptrs[argc], nullptr);
        return out;
    }
};

}  // namespace

class Cmdln : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen.clear();
        cmdln_register(table);
    }
};

TEST_F(Cmdln, optionsMatchByPrefixRunTogetherAndLeaveTheUnmatchedRestForTheToolkit)
{
    struct {
        std::vector<std::string> args;
        int processed;
        std::vector<std::string> left, seen;
    } cases[] = {
        // Exact names take their arguments and are removed.
        {{"prog", "-file", "f.rpt", "keep", "-pair", "1", "2", "tail"}, 2, {"prog", "keep", "tail"},
         {"file(f.rpt)", "pair(1)"}},
        // A value written right after an abbreviated name is its argument.
        {{"prog", "-filereport.rpt"}, 1, {"prog"}, {"file(report.rpt)"}},
        {{"prog", "-xverbose"}, 1, {"prog"}, {"x(-)", "verbose(-)"}},
        {{"prog", "-xq", "-geometry", "100x100"}, 0, {"prog", "-q", "-geometry", "100x100"}, {"x(-)"}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        seen.clear();
        Argv a(c.args);
        EXPECT_EQ(cmdln_parse(&a.argc, a.ptrs.data()), c.processed);
        EXPECT_EQ(a.left(), c.left);
        EXPECT_EQ(seen, c.seen);
    }
}

TEST_F(Cmdln, aTerminatorEndsParsingAndIsRemoved)
{
    cmdln_register(empty);
    Argv a({"prog", "-display", ":1", "--", "file", "-x"});
    EXPECT_EQ(cmdln_parse(&a.argc, a.ptrs.data()), 1);
    EXPECT_EQ(a.left(), (std::vector<std::string>{"prog", "-display", ":1", "file", "-x"}));
}

TEST_F(Cmdln, aLoneTerminatorCallsTheUsageAndExits)
{
    cmdln_setUsage([] { fputs("usage shown", stderr); });
    EXPECT_EXIT(
        {
            Argv a({"prog", "--"});
            cmdln_parse(&a.argc, a.ptrs.data());
        },
        ::testing::ExitedWithCode(255), "usage shown");
    cmdln_setUsage(nullptr);
}

TEST(CmdlnPrint, printsEveryArgumentAndTheTerminatingNull)
{
    std::string a0 = "prog", a1 = "x";
    char* v[] = {&a0[0], &a1[0], nullptr};
    ::testing::internal::CaptureStdout();
    cmdln_printArg(2, v);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Found 2 args: { prog, x, (null) }\n");
}
