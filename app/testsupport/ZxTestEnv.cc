#include <gtest/gtest.h>

#include "app/testsupport/ZxTestEnv.h"

#include <unistd.h>

#include <cstdlib>

#include "app/sessions/ZxSuppress.h"
#include "options/options.h"
#include "tests/support/TestSupport.h"

ZxScratch::ZxScratch(const std::string& name) : _hadHome(false), _hadQuentar(false)
{
    root = lumox_test::scratchDir("suppressions") + "/" + name + "-" + std::to_string(getpid());
    std::string cmd = "rm -rf '" + root + "' && mkdir -p '" + root + "/home' '" + root + "/install' '" + root +
                      "/project'";
    EXPECT_EQ(system(cmd.c_str()), 0);
    home = root + "/home";
    install = root + "/install";
    project = root + "/project";
    if (const char* h = getenv("HOME"))
        _hadHome = true, _oldHome = h;
    if (const char* q = getenv("QUENTAR"))
        _hadQuentar = true, _oldQuentar = q;
    char* cwd = getcwd(nullptr, 0);
    _oldCwd = cwd ? cwd : ".";
    free(cwd);
    setenv("HOME", home.c_str(), 1);
    setenv("QUENTAR", install.c_str(), 1);
    ZxSuppress::release();
    tvopt::reset_option_reader();
    tvopt::set_tool_name("Lumox");
}

ZxScratch::~ZxScratch()
{
    ZxSuppress::release();
    tvopt::reset_option_reader();
    tvopt::set_tool_name("Lumox");
    if (_hadHome)
        setenv("HOME", _oldHome.c_str(), 1);
    else
        unsetenv("HOME");
    if (_hadQuentar)
        setenv("QUENTAR", _oldQuentar.c_str(), 1);
    else
        unsetenv("QUENTAR");
    if (chdir(_oldCwd.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << _oldCwd;
}

std::string packed(const std::vector<std::string>& strings)
{
    std::string out;
    for (const std::string& s : strings)
        out += s + std::string(1, '\0');
    return out;
}
