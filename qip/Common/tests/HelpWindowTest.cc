#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <string>

#include "options/options.h"
#include "qip/Common/HelpButtons.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/tests/TestApp.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XTestInput.h"

namespace {

// An installation directory holding the real help files of `topics` for
// the test application, whose name is "lumoxtest".
std::string installHelp(const std::string& name, std::initializer_list<const char*> topics)
{
    std::string home = lumox_test::scratchDir(name);
    lumox_test::scratchDir(name + "/lumoxtest");
    std::string dir = lumox_test::scratchDir(name + "/lumoxtest/help");
    for (const char* t : topics)
        lumox_test::writeFile(dir + "/" + t + ".hlp",
                              lumox_test::readFile(std::string(LUMOX_SOURCE_DIR) + "/help/" + t + ".hlp"));
    setenv("QUENTAR", home.c_str(), 1);
    return home;
}

std::string shownLine(long n)
{
    int len = 0;
    FileBrowser& b = const_cast<FileBrowser&>(HelpWindow::instance()->viewer().browser());
    const char* text = b.getLine(n, len);
    return text ? text : "<none>";
}

bool viewable(Widget shell)
{
    XWindowAttributes a;
    return XtIsRealized(shell) && XGetWindowAttributes(XtDisplay(shell), XtWindow(shell), &a) &&
           a.map_state == IsViewable;
}

bool waitViewable(bool wanted)
{
    return lumox_test::runLoopUntil(testContext(), [&] {
        return HelpWindow::instance() && viewable(HelpWindow::instance()->baseWidget()) == wanted;
    });
}

void press(qipTButton& b) { XtCallCallbacks(b.baseWidget(), XmNactivateCallback, nullptr); }

// A cell with a help topic of its own and a plain label inside it.
struct TopicCell : qipVCell {
    Widget label = nullptr;
    explicit TopicCell(qipVCell* parent) : qipVCell("topicCell")
    {
        _base = XtVaCreateManagedWidget(_name, xmFormWidgetClass, parent->clientArea(), nullptr);
        label = XtVaCreateManagedWidget("plain", xmLabelWidgetClass, _base, nullptr);
        installDestroyHandler();
        installHelpHandler();
    }
    void helpRequested() const override { HelpWindow::showHelpOn("faq"); }
};

}  // namespace

TEST(HelpWindow, theHelpFileIsNamedAfterInstallationApplicationAndTopic)
{
    testApp();
    setenv("QUENTAR", "/opt/quentar", 1);
    EXPECT_EQ(HelpWindow::helpPath("faq"), "/opt/quentar/lumoxtest/help/faq.hlp");
    EXPECT_EQ(HelpWindow::helpPath(""), "");
    EXPECT_EQ(HelpWindow::helpPath(nullptr), "");
    unsetenv("QUENTAR");
    tvopt::register_argv0("/usr/local/bin/lumox");
    EXPECT_EQ(HelpWindow::helpPath("faq"), "/usr/local/lumoxtest/help/faq.hlp");
    tvopt::register_argv0(nullptr);
    EXPECT_EQ(HelpWindow::helpPath("faq"), "");
}

TEST(HelpWindow, withoutAnInstallationDirectoryEveryRequestDoesNothing)
{
    testApp();
    HelpWindow* before = HelpWindow::instance();
    if (before)
        before->close();
    unsetenv("QUENTAR");
    tvopt::register_argv0(nullptr);
    HMenuBtn overview("overview", "Overview");
    overview.triggered();
    HelpWindow::showHelpOn("faq");
    lumox_test::runLoopFor(testContext(), 100);
    EXPECT_EQ(HelpWindow::instance(), before);
    if (before) {
        EXPECT_FALSE(viewable(before->baseWidget()));
    }
    EXPECT_STREQ(HelpWindow::lastTopic(), "faq") << "the request is still remembered";
}

TEST(HelpWindow, theOverviewEntryOpensOneWindowThatLaterRequestsReuseAndCloseHides)
{
    installHelp("help-menu", {"overview", "faq", "about"});
    TestParent parent("menuParent", 200, 100);
    HMenuBtn overview("overview", "Overview");
    AboutBtn about;
    overview.install(&parent);
    about.install(&parent);
    parent.show();

    press(overview);
    ASSERT_TRUE(waitViewable(true));
    HelpWindow* window = HelpWindow::instance();
    EXPECT_STREQ(XtName(window->baseWidget()), "Help");
    EXPECT_EQ(shownLine(0), "LUMOX OVERVIEW");
    EXPECT_EQ(window->viewer().view()._y, 0);
    Window focus;
    int revert;
    XGetInputFocus(XtDisplay(window->baseWidget()), &focus, &revert);
    EXPECT_EQ(focus, XtWindow(window->baseWidget())) << "the window takes the keyboard";

    press(about);
    lumox_test::runLoopFor(testContext(), 50);
    EXPECT_EQ(HelpWindow::instance(), window);
    EXPECT_EQ(shownLine(0), "ABOUT LUMOX");
    int helpWindows = 0;
    for (ListIterator<qipWindow*> it(theApplication->windows()); it.valid(); it.next())
        helpWindows += it.current() == window;
    EXPECT_EQ(helpWindows, 1);

    press(window->closeButton());
    EXPECT_TRUE(waitViewable(false));
    HelpWindow::showHelpOn("faq");
    EXPECT_TRUE(waitViewable(true));
    EXPECT_EQ(shownLine(0), "QUESTIONS NEW USERS ASK");

    // The window manager's close button hides the window too, never destroys it.
    Display* d = XtDisplay(window->baseWidget());
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = XtWindow(window->baseWidget());
    e.xclient.message_type = XmInternAtom(d, const_cast<char*>("WM_PROTOCOLS"), False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = XmInternAtom(d, const_cast<char*>("WM_DELETE_WINDOW"), False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    EXPECT_TRUE(waitViewable(false));
    EXPECT_EQ(HelpWindow::instance(), window);
    EXPECT_NE(window->baseWidget(), nullptr);
}

TEST(HelpWindow, aTopicWithoutAFileShowsTheWindowEmptyAndDestroyedWidgetsAreBuiltAgain)
{
    testApp();
    installHelp("help-empty", {"about"});
    HelpWindow::showHelpOn("no-such-topic");
    ASSERT_TRUE(waitViewable(true));
    EXPECT_FALSE(HelpWindow::instance()->viewer().browser().isOpen());

    XtDestroyWidget(HelpWindow::instance()->baseWidget());
    lumox_test::runLoopFor(testContext(), 50);
    HelpWindow::showHelpOn("about");
    ASSERT_TRUE(waitViewable(true));
    EXPECT_EQ(shownLine(0), "ABOUT LUMOX");
}

TEST(HelpWindow, contextHelpAnswersWithTheNearestEnclosingCellThatHasATopic)
{
    installHelp("help-context", {"faq", "overview"});
    TestParent parent("contextParent", 300, 200);
    TopicCell cell(&parent);
    HelpBtn help(&parent);
    help.install(&parent);
    XtVaSetValues(help.baseWidget(), XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, cell.baseWidget(), nullptr);
    parent.show();

    EXPECT_EQ(HelpBtn::helpAt(cell.label, nullptr), cell.baseWidget());
    EXPECT_STREQ(HelpWindow::lastTopic(), "faq");
    EXPECT_EQ(HelpBtn::helpAt(parent.baseWidget(), nullptr), nullptr);

    // The real thing: press Help, then click the label. The clicks come from
    // a second connection, delayed until the pointer has been grabbed.
    Display* input = XOpenDisplay(DisplayString(XtDisplay(cell.label)));
    ASSERT_NE(input, nullptr);
    Window child;
    int x, y;
    XTranslateCoordinates(XtDisplay(cell.label), XtWindow(cell.label), DefaultRootWindow(input), 3, 3, &x, &y,
                          &child);
    lumox_test::movePointer(input, x, y);
    // Nothing may cover the label: no help window yet, only a topic asked for.
    if (HelpWindow::instance())
        HelpWindow::instance()->close();
    std::string home = getenv("QUENTAR");
    unsetenv("QUENTAR");
    HelpWindow::showHelpOn("overview");
    setenv("QUENTAR", home.c_str(), 1);
    lumox_test::runLoopFor(testContext(), 50);
    XTestFakeButtonEvent(input, 1, True, 300);
    XTestFakeButtonEvent(input, 1, False, 20);
    XFlush(input);
    help.triggered();
    EXPECT_STREQ(HelpWindow::lastTopic(), "faq");
    EXPECT_EQ(shownLine(0), "QUESTIONS NEW USERS ASK");
    XCloseDisplay(input);
}
