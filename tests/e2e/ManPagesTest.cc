// Every program has a manual page that renders cleanly, names every option
// the program's own help lists, and is installed by `make install`.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <regex>
#include <set>
#include <string>

#include "tests/support/TestSupport.h"

using namespace lumox_test;

namespace {

const char* const programs[] = {"lumox", "lumox-run", "lumox-send", "lumox-rpt", "lumox-zx"};

std::string page(const std::string& program)
{
    return std::string(LUMOX_SOURCE_DIR) + "/man/" + program + ".1";
}

// The options a text names: "--long-name" and the "-Zop" kind.
std::set<std::string> options(const std::string& text)
{
    std::set<std::string> out;
    std::regex option("(^|[\\s\\[(,])(--?[A-Za-z][A-Za-z-]*)");
    for (std::sregex_iterator i(text.begin(), text.end(), option), end; i != end; ++i)
        out.insert((*i)[2]);
    return out;
}

}  // namespace

TEST(ManPages, eachRendersWithoutWarningsAndNamesEveryOptionOfItsProgramsHelp)
{
    for (const char* program : programs) {
        SCOPED_TRACE(program);
        Child groff;
        ASSERT_TRUE(groff.start({"/usr/bin/groff", "-man", "-Tutf8", "-ww", "-z", page(program)}));
        EXPECT_EQ(groff.wait(), 0);
        EXPECT_EQ(groff.err(), "");

        Child help;
        ASSERT_TRUE(help.start({buildPath("bin/" + std::string(program)), "--help"}, {"DISPLAY="}));
        help.wait();
        std::string text = readFile(page(program));
        // The page writes a minus as "\-".
        text = std::regex_replace(text, std::regex("\\\\-"), "-");
        for (const std::string& o : options(help.out() + help.err()))
            EXPECT_NE(text.find(o), std::string::npos) << o;
    }
}

TEST(ManPages, makeInstallPutsThemInSection1)
{
    std::string stage = scratchDir("man-install");
    Child install;
    ASSERT_TRUE(install.start({"/usr/bin/cmake", "--install", buildPath(""), "--prefix", stage}));
    ASSERT_EQ(install.wait(120000), 0) << install.err();
    for (const char* program : programs) {
        struct stat st;
        EXPECT_EQ(stat((stage + "/share/man/man1/" + program + ".1").c_str(), &st), 0) << program;
    }
}
