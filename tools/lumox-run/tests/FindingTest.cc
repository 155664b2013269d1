#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"
#include "tools/lumox-run/Finding.h"

// Paths in a report are relative to where the checked program ran; the
// editor runs elsewhere, so they are made absolute, or left unopenable when
// they name nothing (the C library's own build paths).
TEST(Finding, relativePathsBecomeAbsoluteOrUnopenableAndEveryFrameIsIndentedAlike)
{
    std::string dir = lumox_test::scratchDir("finding-paths");
    lumox_test::writeFile(dir + "/main.c", "int main(void) { return 0; }\n");
    Finding f;
    f.addStack({Frame{"start_thread", "./nptl/pthread_create.c", 442, "libc.so.6", "#0 start_thread", true},
                Frame{"main", "main.c", 3, "", "at main", true}, Frame{"", "", 0, "/lib/libc.so.6", "#2 ??", true}});
    resolvePaths(f, dir);
    std::string file;
    int line = 0;
    ASSERT_TRUE(locate(f, file, line));
    EXPECT_EQ(dir + "/main.c", file);
    EXPECT_EQ(3, line);
    EXPECT_EQ("<BEGINSTACKTRACE>\n"
              "    #0 start_thread  ./nptl/pthread_create.c:442\n"
              "<" + dir + "/main.c:3>    at main\n"
              "    #2 ??  (/lib/libc.so.6)\n"
              "<ENDSTACKTRACE>",
              messageBody(f));
}
