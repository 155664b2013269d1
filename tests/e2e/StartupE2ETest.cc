#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

// Holds `count` listening sockets from `base` on, as another program would.
struct PortHog {
    std::vector<int> fds;
    PortHog(int base, int count)
    {
        for (int p = base; p < base + count; ++p) {
            int fd = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a;
            memset(&a, 0, sizeof a);
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_ANY);
            a.sin_port = htons(p);
            if (bind(fd, (sockaddr*)&a, sizeof a) == 0 && listen(fd, 5) == 0)
                fds.push_back(fd);
            else
                close(fd);
        }
    }
    ~PortHog()
    {
        for (int fd : fds)
            close(fd);
    }
};

bool portFree(int port)
{
    PortHog h(port, 1);
    return h.fds.size() == 1;
}

}  // namespace

TEST(Startup, theWindowAppearsAndClientsCanConnectOnTheChosenPort)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    int fd = connectTo(lumox.port());
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        close(fd);
    EXPECT_EQ(lumox.label("msgLbl"), " Messages: None ");
    EXPECT_EQ(lumox.label("conLbl"), " Connections: None ");
    lumox.screenshot("startup");
}

TEST(Startup, aPortBelow1025IsIgnoredInFavourOf3255)
{
    if (!portFree(3255))
        GTEST_SKIP() << "port 3255 is in use on this machine";
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({}, {}, 1024));
    int fd = connectTo(3255);
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        close(fd);
}

TEST(Startup, whenNinePortsAreTakenTheTenthIsUsed)
{
    int base = findFreePorts(10);
    PortHog hog(base, 9);
    ASSERT_EQ(hog.fds.size(), 9u);
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({}, {}, base));
    int fd = connectTo(base + 9);
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        close(fd);
}

TEST(Startup, withAllTenPortsTakenItStopsWithStatus255)
{
    int base = findFreePorts(10);
    PortHog hog(base, 10);
    ASSERT_EQ(hog.fds.size(), 10u);
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.ok());
    ASSERT_TRUE(lumox.start({}, {}, base, false));
    EXPECT_EQ(lumox.process().wait(10000), 255);
    EXPECT_EQ(lumox.process().err(), " *** Torvane : no available ports.\n     Aborting ...\n");
}

TEST(Startup, aLoneTerminatorPrintsTheUsageAndStopsWithStatus255)
{
    for (const char* t : {"--", "-"}) {
        Child c;
        ASSERT_TRUE(c.start({buildPath("bin/lumox"), t}, {"DISPLAY=:0.bogus"}));
        EXPECT_EQ(c.wait(10000), 255) << t;
        EXPECT_EQ(c.err().rfind("Lumox Version 3.1 (10/24/96)\n", 0), 0u) << c.err();
        EXPECT_NE(c.err().find("Usage"), std::string::npos);
    }
}

TEST(Startup, toolkitOptionsBeforeATerminatorReachTheToolkit)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.ok());
    // The display option is the toolkit's; "--" is removed and what follows kept.
    ASSERT_TRUE(lumox.start({"DISPLAY=:0.bogus"}, {"-display", lumox.displayName(), "--", "notes.txt"}));
    EXPECT_TRUE(lumox.process().running());
}

TEST(Startup, clickingExitEndsTheProgramWithStatus0)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    WidgetInfo exitBtn;
    ASSERT_TRUE(lumox.widget("helpGroup_work.exitBtn.exitBtn_button", exitBtn));
    EXPECT_TRUE(exitBtn.sensitive);
    click(lumox.display(), exitBtn.centerX(), exitBtn.centerY());
    EXPECT_EQ(lumox.process().wait(10000), 0);
}

TEST(Startup, fileExitFromTheMenuEndsTheProgramWithStatus0)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(lumox.clickWidget("menu.file"));
    WidgetInfo item;
    for (int i = 0; i < 50 && !lumox.widget("file.exitBtn", item); ++i)
        sleepMs(50);
    ASSERT_TRUE(item.viewable) << "the File menu did not open";
    EXPECT_EQ(item.label, "Exit");
    click(lumox.display(), item.centerX(), item.centerY());
    EXPECT_EQ(lumox.process().wait(10000), 0);
}

TEST(Startup, closingTheWindowFromTheWindowManagerWorksLikeExit)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    Display* d = lumox.display();
    Window w = findWindow(d, "Lumox");
    ASSERT_NE(w, 0u);
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
    EXPECT_EQ(lumox.process().wait(10000), 0);
}
