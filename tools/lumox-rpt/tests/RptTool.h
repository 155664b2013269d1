#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

// What one run of the real lumox-rpt binary gave.
struct ToolRun {
    int status;
    std::string out, err;
};

// Runs lumox-rpt with `args` and no display (the tool must not need one),
// with the extra environment entries `env`.
inline ToolRun runRpt(const std::vector<std::string>& args, const std::vector<std::string>& env = {})
{
    lumox_test::Child c;
    std::vector<std::string> argv = {lumox_test::buildPath("bin/lumox-rpt")};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> environment = {"DISPLAY="};
    environment.insert(environment.end(), env.begin(), env.end());
    EXPECT_TRUE(c.start(argv, environment));
    ToolRun r;
    r.status = c.wait(20000);
    r.out = c.out();
    r.err = c.err();
    return r;
}

// A scratch file of this test program, its name made unique to the process.
inline std::string rptTempFile(const std::string& name, const std::string& text = "")
{
    return lumox_test::scratchFile("lumox-rpt", std::to_string(getpid()) + "-" + name, text);
}
