#include <gtest/gtest.h>

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

// Running the editor on a found file is shown end to end (EditorE2ETest).
TEST(ExternalBrowser, aFileIsFoundInTheDirectoriesSeenBeforeEachRememberedOnce)
{
    std::string dir = lumox_test::scratchDir("browser-" + std::to_string(getpid()));
    lumox_test::writeFile(dir + "/a.c", "x\n");
    ExternalBrowser b;
    b.makeFilename(dir.c_str(), "a.c");
    EXPECT_STREQ(b.filename(), (dir + "/a.c").c_str());
    b.makeFilename("/", "a.c");
    EXPECT_STREQ(b.filename(), (dir + "/a.c").c_str());
    EXPECT_EQ(b.paths().length(), 2);
    b.makeFilename(dir.c_str(), "a.c");
    EXPECT_EQ(b.paths().length(), 2);
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
    errno = 0;
    EXPECT_EQ(waitpid(e.pid(), nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}
