#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "options/OptionLines.h"
#include "options/options.h"
#include "tests/support/TestSupport.h"

using lumox_test::ScopedCwd;
using lumox_test::ScopedEnv;

namespace {

struct Seen {
    std::string tool, option, value, file;
    long line;
    int old;
    int source;
};
std::vector<Seen> seen;

void collect(char* tool, char* option, char* value)
{
    const char* f = tvopt::_Torvane_get_option_filename();
    seen.push_back({tool, option, value, f ? f : "(none)", tvopt::_Torvane_get_option_lineno(),
                    tvopt::_Torvane_is_old_option_file(), tvopt::current_torvane_file});
}

class OptionReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        tvopt::reset_option_reader();
        tvopt::set_tool_name("Lumox");
        seen.clear();
        _dir = lumox_test::scratchDir("options") + "/" + std::to_string(getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string cmd = "rm -rf '" + _dir + "' && mkdir -p '" + _dir + "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    void TearDown() override { tvopt::reset_option_reader(); }

    // Reads `text` as an option file; the options seen, without the
    // start-of-file call.
    std::vector<Seen> readText(const std::string& text)
    {
        std::string path = _dir + "/opts";
        lumox_test::writeFile(path, text);
        seen.clear();
        EXPECT_EQ(tvopt::_Torvane_read_option_file(path.c_str(), collect), 1);
        EXPECT_FALSE(seen.empty());
        EXPECT_EQ(seen[0].option, "");
        return std::vector<Seen>(seen.begin() + 1, seen.end());
    }

    std::string _dir;
};

}  // namespace

TEST_F(OptionReader, continuationLinesJoinAndReportTheirLastLine)
{
    auto s = readText("# a comment\n"
                      "\n"
                      "suppress item 3 \\\n"
                      "  type V\n"
                      "unsuppress  item 4  \n"
                      "suppress a \\\n"
                      "# not a comment here\n"
                      "123 not an option\n"
                      "! suppress marked\n");
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].tool, "");
    EXPECT_EQ(s[0].option, "suppress");
    EXPECT_EQ(s[0].value, "item 3    type V");
    EXPECT_EQ(s[0].line, 4);
    EXPECT_EQ(s[0].file, _dir + "/opts");
    EXPECT_EQ(s[1].option, "unsuppress");
    EXPECT_EQ(s[1].value, "item 4");
    EXPECT_EQ(s[1].line, 5);
    EXPECT_EQ(s[2].value, "a  # not a comment here");
    EXPECT_EQ(s[2].line, 7);
    EXPECT_EQ(s[3].value, "marked");
    EXPECT_EQ(s[3].line, 9);
    EXPECT_EQ(tvopt::_Torvane_get_option_lineno(), -1);
    EXPECT_EQ(tvopt::_Torvane_get_option_filename(), nullptr);
}

TEST_F(OptionReader, aLineOfAnyLengthIsReadWhole)
{
    std::string pattern(5000, 'A');
    auto s = readText("suppress class " + pattern + " \\\n"
                      "  item 3\n"
                      "unsuppress item 4\n");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].value, "class " + pattern + "    item 3");
    EXPECT_EQ(s[0].line, 2);
    EXPECT_EQ(s[1].value, "item 4");
    EXPECT_EQ(s[1].line, 3);
}

TEST_F(OptionReader, onlyRegularFilesOfAtMostFourMegabytesAreRead)
{
    // A client can name any path: a device, a pipe nobody writes to, a
    // huge file. None of them holds the reader up or fills its memory.
    std::string fifo = _dir + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string huge = _dir + "/huge";
    lumox_test::writeFile(huge, "suppress item 1\n" + std::string(5 * 1024 * 1024, '#'));
    for (const std::string& path : {std::string("/dev/zero"), fifo, huge, _dir}) {
        seen.clear();
        EXPECT_EQ(tvopt::_Torvane_read_option_file(path.c_str(), collect), 0) << path;
        for (const Seen& s : seen)
            EXPECT_EQ(s.option, "") << path;
    }
}

TEST_F(OptionReader, anOptionHoldingANulIsPassedOverWithItsContinuationsOnly)
{
    const char text[] = "suppress item 1\\\0 \\\n"
                        "suppress item 2\n"
                        "suppress item 3 \\\0\n"
                        "suppress item 4\n"
                        "# a comment \\\n"
                        "suppress item 5 \\";
    testing::internal::CaptureStderr();
    auto s = readText(std::string(text, sizeof text - 1));
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].value, "item 4");
    EXPECT_EQ(s[0].line, 4);
    EXPECT_EQ(s[1].value, "item 5") << "the end of the file ends an option that would continue";
    EXPECT_EQ(s[1].line, 6);
    EXPECT_EQ(err, "[" + _dir + "/opts:2] Bad option line: it holds a NUL byte\n[" + _dir
                       + "/opts:3] Bad option line: it holds a NUL byte\n");
}

TEST(OptionLines, anyBytesAreCutIntoLinesThatCoverTheTextInOrder)
{
    unsigned seed = 7;
    const char alphabet[] = {'a', ' ', '\\', '\n', '\0', '!', '#', '\r', 'x'};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        size_t length = (seed = seed * 1103515245 + 12345) % 60;
        for (size_t k = 0; k < length; ++k)
            text += alphabet[((seed = seed * 1103515245 + 12345) >> 16) % sizeof alphabet];
        tvopt::OptionLines lines(text.data(), text.size());
        tvopt::OptionLines::Line line;
        size_t at = 0;
        long physical = 0;
        while (lines.next(line)) {
            ASSERT_EQ(line.begin, at);
            ASSERT_GT(line.end, line.begin);
            ASSERT_EQ(line.first, physical + 1);
            for (size_t k = line.begin; k + 1 < line.end; ++k)
                physical += text[k] == '\n';
            ASSERT_EQ(line.last, ++physical) << "a logical line ends with its last physical line";
            ASSERT_TRUE(line.option || line.first == line.last) << "a comment stands alone";
            if (line.option && !line.broken) {
                EXPECT_EQ(lines.optionText(line).find('\n'), std::string::npos);
            }
            at = line.end;
        }
        EXPECT_EQ(at, text.size()) << "every byte belongs to one line";
    }
}

TEST_F(OptionReader, toolPrefixesMatchInAnyCase)
{
    tvopt::set_tool_alias("zentrix");
    auto s = readText("zentrix.suppress item 12\n"
                      "Zentrix.Suppress item 12\n"
                      "ZENTRIX.Un_Suppress=item 7\n"
                      "lumox.suppress mine\n"
                      "zentrix.rebuild_command make\n"
                      "torvane.report_file out.txt\n");
    ASSERT_EQ(s.size(), 5u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(s[i].tool, "zentrix");
        EXPECT_EQ(s[i].option, "suppress");
        EXPECT_EQ(s[i].value, "item 12");
    }
    EXPECT_EQ(s[2].option, "unsuppress");
    EXPECT_EQ(s[2].value, "item 7");
    EXPECT_EQ(s[3].tool, "lumox");
    // Through an alias every option name is accepted.
    EXPECT_EQ(s[4].option, "rebuildcommand");
    EXPECT_EQ(s[4].value, "make");
}

TEST_F(OptionReader, badToolsAndOptionsAreReportedAndSkipped)
{
    testing::internal::CaptureStderr();
    auto s = readText("frobber.suppress x\n"
                      "suppress ok\n"
                      "lumox.report_file x\n");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].value, "ok");
    EXPECT_EQ(err, "Bad tool in option: frobber\n[" + _dir + "/opts:3] Bad option: reportfile\n");

    testing::internal::CaptureStderr();
    seen.clear();
    tvopt::_Torvane_read_option_line("bogus 1", collect);
    tvopt::_Torvane_read_option_line("suppress item 2", collect);
    tvopt::_Torvane_read_option_line("zentrix.suppress item 3", collect);
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Bad option (from flag): bogus\n");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].tool, "Lumox");
    EXPECT_EQ(seen[0].line, -1);
    EXPECT_EQ(seen[0].file, "(none)");

    tvopt::inhibit_option_errors();
    testing::internal::CaptureStderr();
    readText("bogus 1\nfrobber.x 2\nsuppress y\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(OptionReader, standardFilesAreReadInOrderWithAStartCallEach)
{
    std::string inst = _dir + "/inst", home = _dir + "/home", cwd = _dir + "/cwd";
    ASSERT_EQ(system(("mkdir -p " + inst + "/lib.abi/abicc " + home + " " + cwd).c_str()), 0);
    lumox_test::writeFile(inst + "/lib.abi/abicc/.qnrc", "suppress arch\n");
    lumox_test::writeFile(inst + "/.qnrc", "suppress inst\n");
    lumox_test::writeFile(home + "/.torvane", "suppress old\nfoo_bar 1\n");
    lumox_test::writeFile(cwd + "/.qnrc", "suppress here\n");
    ScopedEnv q("QUENTAR", inst.c_str()), h("HOME", home.c_str());
    int n;
    {
        ScopedCwd in(cwd);
        ASSERT_TRUE(in.ok());
        n = tvopt::_Torvane_read_options(collect);
    }

    EXPECT_EQ(n, 4);
    std::vector<std::string> got;
    for (const Seen& x : seen)
        got.push_back(x.option.empty() ? "start " + x.file : x.value + (x.old ? " (old)" : ""));
    std::vector<std::string> want = {
        "start " + inst + "/lib.abi/abicc/.torvane", "start " + inst + "/lib.abi/abicc/.qnrc", "arch",
        "start " + inst + "/.torvane", "start " + inst + "/.qnrc", "inst",
        "start " + home + "/.torvane", "old (old)", "start " + home + "/.qnrc",
        "start ./.torvane", "start ./.qnrc", "here"};
    EXPECT_EQ(got, want);
}

TEST_F(OptionReader, aFileThatTwoPlacesNameIsReadOnceAtTheLaterPlace)
{
    std::string home = _dir + "/home";
    ASSERT_EQ(system(("mkdir -p " + home).c_str()), 0);
    lumox_test::writeFile(home + "/.qnrc", "suppress mine\n");
    // Installed in the home directory, named by another path to it, and
    // run there.
    ScopedEnv q("QUENTAR", (home + "/../home/").c_str()), h("HOME", home.c_str());
    ScopedCwd in(home);
    ASSERT_TRUE(in.ok());
    auto read = [](int last) {
        seen.clear();
        int n = tvopt::_Torvane_read_standard_options(last, collect);
        std::vector<std::string> got;
        for (const Seen& x : seen)
            if (!x.option.empty())
                got.push_back(x.value + " " + std::to_string(x.source) + " " + x.file);
        return std::to_string(n) + ": " + (got.empty() ? "" : got[0]) + (got.size() > 1 ? " and more" : "");
    };
    EXPECT_EQ(read(tvopt::SRC_CWD), "1: mine 3 ./.qnrc");
    EXPECT_EQ(read(tvopt::SRC_HOME), "1: mine 2 " + home + "/.qnrc");
    EXPECT_EQ(read(tvopt::SRC_INSTALL_DIR), "1: mine 1 " + home + "/../home//.qnrc");
}

TEST_F(OptionReader, sameFileKnowsAFileByAnyPathOrLinkToIt)
{
    std::string a = _dir + "/a", b = _dir + "/b";
    ASSERT_EQ(system(("mkdir -p " + a + " && ln -s a " + b).c_str()), 0);
    lumox_test::writeFile(a + "/.qnrc", "x\n");
    ASSERT_EQ(link((a + "/.qnrc").c_str(), (a + "/hard").c_str()), 0);
    EXPECT_TRUE(tvopt::same_file((a + "/.qnrc").c_str(), (b + "/.qnrc").c_str()));
    EXPECT_TRUE(tvopt::same_file((a + "/.qnrc").c_str(), (a + "/hard").c_str()));
    EXPECT_TRUE(tvopt::same_file((_dir + "/b/../a/.qnrc").c_str(), (a + "/./.qnrc").c_str()));
    // Files yet to be made, by their places.
    EXPECT_TRUE(tvopt::same_file((a + "/new").c_str(), (b + "/new").c_str()));
    EXPECT_FALSE(tvopt::same_file((a + "/new").c_str(), (a + "/.qnrc").c_str()));
    EXPECT_FALSE(tvopt::same_file((a + "/new").c_str(), (a + "/other").c_str()));
    {
        ScopedCwd in(a);
        EXPECT_TRUE(tvopt::same_file(".qnrc", (b + "/.qnrc").c_str()));
        EXPECT_TRUE(tvopt::same_file("new", (b + "/new").c_str()));
    }
    EXPECT_FALSE(tvopt::same_file(nullptr, (a + "/.qnrc").c_str()));
}

TEST_F(OptionReader, installationDirectoryFromEnvironmentOrProgramPath)
{
    ScopedEnv q("QUENTAR", "/opt/quentar"), p("PATH");
    EXPECT_STREQ(tvopt::find_quentar_home(), "/opt/quentar");
    setenv("QUENTAR", "", 1);
    tvopt::register_argv0("/opt/q/bin/sub/lumox");
    EXPECT_STREQ(tvopt::find_quentar_home(), "/opt/q");
    tvopt::register_argv0("/opt/q/bin/../bin/lumox");
    EXPECT_STREQ(tvopt::find_quentar_home(), "/opt/q");
    tvopt::register_argv0("/usr/lib/lumox");
    EXPECT_EQ(tvopt::find_quentar_home(), nullptr);

    ASSERT_EQ(system(("mkdir -p " + _dir + "/q/bin").c_str()), 0);
    lumox_test::writeFile(_dir + "/q/bin/lumoxprog", "#!/bin/sh\n");
    ASSERT_EQ(chmod((_dir + "/q/bin/lumoxprog").c_str(), 0755), 0);
    setenv("PATH", ("/nonexistent:" + _dir + "/q/bin").c_str(), 1);
    tvopt::register_argv0("lumoxprog");
    unsetenv("QUENTAR");
    ASSERT_NE(tvopt::find_quentar_home(), nullptr);
    EXPECT_EQ(std::string(tvopt::find_quentar_home()), _dir + "/q");

    {
        ScopedCwd in(_dir + "/q");
        tvopt::register_argv0("./bin/lumoxprog");
    }
    EXPECT_EQ(std::string(tvopt::find_quentar_home()), _dir + "/q");
    tvopt::register_argv0(nullptr);
}

TEST(OptionUtilities, tokensKeywordsAndTruthValues)
{
    char text[] = "  suppress  item 3\t";
    char* p = text;
    EXPECT_STREQ(tvopt::fetch_token(&p), "suppress");
    EXPECT_STREQ(tvopt::fetch_token(&p), "item");
    EXPECT_STREQ(tvopt::fetch_token(&p), "3");
    EXPECT_EQ(tvopt::fetch_token(&p), nullptr);

    EXPECT_TRUE(tvopt::option_matches("Un_Suppress item 3", "unsuppress"));
    EXPECT_TRUE(tvopt::option_matches("suppress_ x", "suppress"));
    EXPECT_FALSE(tvopt::option_matches("suppressed x", "suppress"));
    EXPECT_FALSE(tvopt::option_matches("supp", "suppress"));

    char name[] = "Zentrix.Un-Suppress_";
    EXPECT_STREQ(tvopt::smush(name), "zentrix.unsuppress");
    EXPECT_TRUE(tvopt::is_true("ON") && tvopt::is_true("yes") && tvopt::is_false("False") && tvopt::is_false("off"));
    EXPECT_FALSE(tvopt::is_true("") || tvopt::is_false("") || tvopt::is_true("o") || tvopt::is_true("no"));

    EXPECT_EQ(tvopt::stricmp("Abc", "aBC"), 0);
    EXPECT_LT(tvopt::stricmp("abc", "abd"), 0);
    EXPECT_EQ(tvopt::strnicmp("ABCx", "abcy", 3), 0);
    EXPECT_FALSE(tvopt::streq("a", nullptr));
    EXPECT_STREQ(tvopt::basename("/a/b/c.rpt"), "c.rpt");
    char* a = tvopt::abs_path("/a/./b//../c/");
    EXPECT_STREQ(a, "/a/c");
    free(a);
}
