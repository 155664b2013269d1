#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "qip/Common/ExternalBrowser.h"
#include "qip/Common/qipExec.h"
#include "tests/support/TestSupport.h"

TEST(ExternalBrowser, theTemplateTakesTheFileAndLineAndDropsOtherPairs)
{
    EXPECT_EQ(ExternalBrowser::makeCmnd("xterm -e vi +%l %f", "/src/a.c", 12), "xterm -e vi +12 /src/a.c");
    EXPECT_EQ(ExternalBrowser::makeCmnd("ed %f %f%x100%%", "f", 1), "ed f f100");
    EXPECT_EQ(ExternalBrowser::makeCmnd("ed +%l %", "f", 3), "ed +3 ");
    EXPECT_EQ(ExternalBrowser::splitWords("  ed\t+12 \n/src/a.c "),
              (std::vector<std::string>{"ed", "+12", "/src/a.c"}));
    EXPECT_TRUE(ExternalBrowser::splitWords(" \t").empty());
}

TEST(ExternalBrowser, aFoundFileRunsTheEditorAndItsDirectoryIsRemembered)
{
    std::string dir = lumox_test::scratchDir("browser-" + std::to_string(getpid()));
    lumox_test::writeFile(dir + "/a.c", "x\n");
    std::string log = dir + "/log";
    std::string editor = dir + "/ed.sh";
    lumox_test::writeFile(editor, "#!/bin/sh\necho \"$@\" > '" + log + "'\n");
    chmod(editor.c_str(), 0755);

    ExternalBrowser b;
    b.makeCmdTmplt((editor + " +%l %f").c_str());
    std::string d = dir;
    std::string f = "a.c";
    b.view(&d[0], &f[0], 12);
    EXPECT_EQ(b.locked(), 0);
    EXPECT_STREQ(b.filename(), (dir + "/a.c").c_str());
    for (int i = 0; i < 200 && lumox_test::readFile(log).empty(); ++i)
        lumox_test::sleepMs(10);
    EXPECT_EQ(lumox_test::readFile(log), "+12 " + dir + "/a.c\n");

    // Found again through the remembered directory, from another one.
    std::string other = "/";
    b.makeFilename(other.c_str(), "a.c");
    EXPECT_STREQ(b.filename(), (dir + "/a.c").c_str());
    EXPECT_EQ(b.paths().length(), 2);
    b.makeFilename(dir.c_str(), "a.c");
    EXPECT_EQ(b.paths().length(), 2);  // no duplicates
}

TEST(QipExec, buildsItsVectorsFromPackedStringsAndRunsInItsDirectory)
{
    qipExec e;
    EXPECT_EQ(e.execute(), -1);
    EXPECT_EQ(e.cmdline(1, nullptr, 3), -1);
    const char args[] = "sh\0-c\0pwd > out\0";
    ASSERT_EQ(e.cmdline(3, args, sizeof args - 1), 0);
    ASSERT_EQ(e.argc(), 3);
    EXPECT_STREQ(e.argv()[2], "pwd > out");
    EXPECT_EQ(e.argv()[3], nullptr);
    const char env[] = "A=1\0B=2\0";
    ASSERT_EQ(e.environment(2, env, sizeof env - 1), 0);
    EXPECT_STREQ(e.envp()[1], "B=2");

    std::string dir = lumox_test::scratchDir("exec-" + std::to_string(getpid()));
    ASSERT_EQ(e.cwd(dir.c_str()), 0);
    ASSERT_EQ(e.execute(), 0);
    EXPECT_GT(e.pid(), 0);
    for (int i = 0; i < 200 && lumox_test::readFile(dir + "/out").empty(); ++i)
        lumox_test::sleepMs(10);
    EXPECT_EQ(lumox_test::readFile(dir + "/out"), dir + "\n");
    // The command is not a child of ours: nothing is left to reap.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}
