#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

// Holds `count` listening sockets from `base` on, as another program would.
struct PortHog {
    std::vector<int> fds;
    PortHog(int base, int count)
    {
        for (int p = base; p < base + count; ++p)
            if (int fd = listenOn(p); fd >= 0)
                fds.push_back(fd);
    }
    ~PortHog()
    {
        for (int fd : fds)
            close(fd);
    }
};

bool canConnect(int port)
{
    int fd = connectTo(port);
    if (fd >= 0)
        close(fd);
    return fd >= 0;
}

}  // namespace

TEST(Startup, theWindowAppearsAndClientsCanConnectOnTheChosenPort)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    EXPECT_TRUE(canConnect(lumox.port()));
    EXPECT_EQ(lumox.label("msgLbl"), " Messages: None ");
    EXPECT_EQ(lumox.label("conLbl"), " Connections: None ");
    lumox.screenshot("startup");
}

TEST(Startup, aPortBelow1025IsIgnoredInFavourOf3255)
{
    if (PortHog(3255, 1).fds.size() != 1)
        GTEST_SKIP() << "port 3255 is in use on this machine";
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({}, {}, 1024));
    EXPECT_TRUE(canConnect(3255));
}

TEST(Startup, theTenthPortServesWhenNineAreTakenAndWithAllTenItStopsWith255)
{
    int base = findFreePorts(10);
    {
        PortHog hog(base, 9);
        ASSERT_EQ(hog.fds.size(), 9u);
        LumoxHarness lumox;
        ASSERT_TRUE(lumox.start({}, {}, base));
        EXPECT_TRUE(canConnect(base + 9));
    }
    base = findFreePorts(10);
    PortHog hog(base, 10);
    ASSERT_EQ(hog.fds.size(), 10u);
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({}, {}, base, false));
    EXPECT_EQ(lumox.process().wait(10000), 255);
    EXPECT_EQ(lumox.process().err(), " *** Torvane : no available ports.\n     Aborting ...\n");
}

TEST(Startup, aLoneTerminatorPrintsTheUsageAndToolkitOptionsBeforeOneReachTheToolkit)
{
    for (const char* t : {"--", "-"}) {
        Child c;
        ASSERT_TRUE(c.start({buildPath("bin/lumox"), t}, {"DISPLAY=:0.bogus"}));
        EXPECT_EQ(c.wait(10000), 255) << t;
        EXPECT_EQ(c.err().rfind("Lumox Version 3.1 (10/24/96)\n", 0), 0u) << c.err();
        EXPECT_NE(c.err().find("Usage"), std::string::npos);
    }
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.ok());
    // The display option is the toolkit's; "--" is removed and what follows kept.
    ASSERT_TRUE(lumox.start({"DISPLAY=:0.bogus"}, {"-display", lumox.displayName(), "--", "notes.txt"}));
    EXPECT_TRUE(lumox.process().running());
}

// The Exit button (a real click), File -> Exit, and the window manager's
// close each end the program with status 0.
TEST(Startup, exitButtonMenuEntryAndWindowCloseEachEndTheProgramWithStatus0)
{
    std::vector<std::function<bool(LumoxHarness&)>> ways = {
        [](LumoxHarness& lumox) {
            WidgetInfo exitBtn;
            if (!lumox.widget(exitButton, exitBtn) || !exitBtn.sensitive)
                return false;
            click(lumox.display(), exitBtn.centerX(), exitBtn.centerY());
            return true;
        },
        [](LumoxHarness& lumox) { return lumox.chooseMenu("file", "exitBtn", "Exit"); },
        [](LumoxHarness& lumox) {
            Display* d = lumox.display();
            Window w = findWindow(d, "Lumox");
            if (!w)
                return false;
            // What a window manager sends when the user closes the window.
            XEvent e = {};
            e.xclient.type = ClientMessage;
            e.xclient.window = w;
            e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
            e.xclient.data.l[1] = CurrentTime;
            XSendEvent(d, w, False, NoEventMask, &e);
            XFlush(d);
            return true;
        },
    };
    for (size_t k = 0; k < ways.size(); ++k) {
        SCOPED_TRACE(k);
        LumoxHarness lumox;
        ASSERT_TRUE(lumox.start());
        ASSERT_TRUE(ways[k](lumox));
        EXPECT_EQ(lumox.process().wait(10000), 0);
    }
}
