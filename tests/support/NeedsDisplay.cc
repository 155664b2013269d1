// Linked into the test programs whose tests show windows: when no X server
// can be started (no Xvfb installed, say), every test of the program is
// skipped with the reason, instead of crashing on a missing display.

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

class NeedsDisplay : public testing::Environment {
public:
    void SetUp() override
    {
        if (!lumox_test::ensureDisplay())
            GTEST_SKIP() << "no X server could be started (is Xvfb installed?): these tests need a display";
    }
};

const testing::Environment* const registered = testing::AddGlobalTestEnvironment(new NeedsDisplay);

}  // namespace
