#include <gtest/gtest.h>

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <string>

#include "options/options.h"
#include "qip/Common/HelpButtons.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/testsupport/TestApp.h"

using lumox_test::ScopedEnv;

namespace {

// An installation directory holding the real help files of `topics` for
// the test application, whose name is "lumoxtest".
std::string installHelp(const std::string& name, std::initializer_list<const char*> topics)
{
    std::string home = lumox_test::scratchDir(name);
    lumox_test::scratchDir(name + "/lumoxtest");
    for (const char* t : topics)
        lumox_test::scratchFile(name + "/lumoxtest/help", std::string(t) + ".hlp",
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

bool waitViewable(bool wanted)
{
    return lumox_test::runLoopUntil(testContext(), [&] {
        return HelpWindow::instance() && lumox_test::isViewable(HelpWindow::instance()->baseWidget()) == wanted;
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

TEST(HelpWindow, theHelpFileIsNamedAfterInstallationApplicationAndTopicAndNeedsAnInstallation)
{
    testApp();
    ScopedEnv quentar("QUENTAR", "/opt/quentar");
    EXPECT_EQ(HelpWindow::helpPath("faq"), "/opt/quentar/lumoxtest/help/faq.hlp");
    EXPECT_EQ(HelpWindow::helpPath(""), "");
    EXPECT_EQ(HelpWindow::helpPath(nullptr), "");

    // Without one every request does nothing, but the topic is remembered.
    HelpWindow* before = HelpWindow::instance();
    if (before)
        before->close();
    unsetenv("QUENTAR");
    tvopt::register_argv0(nullptr);
    EXPECT_EQ(HelpWindow::helpPath("faq"), "");
    HMenuBtn overview("overview", "Overview");
    overview.triggered();
    HelpWindow::showHelpOn("faq");
    lumox_test::runLoopFor(testContext(), 100);
    EXPECT_EQ(HelpWindow::instance(), before);
    EXPECT_FALSE(before && lumox_test::isViewable(before->baseWidget()));
    EXPECT_STREQ(HelpWindow::lastTopic(), "faq");
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
    Widget shell = window->baseWidget();
    EXPECT_STREQ(XtName(shell), "Help");
    EXPECT_EQ(shownLine(0), "LUMOX OVERVIEW");
    Window focus;
    int revert;
    XGetInputFocus(XtDisplay(shell), &focus, &revert);
    EXPECT_EQ(focus, XtWindow(shell)) << "the window takes the keyboard";

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
    Display* d = XtDisplay(shell);
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = XtWindow(shell);
    e.xclient.message_type = XmInternAtom(d, const_cast<char*>("WM_PROTOCOLS"), False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = XmInternAtom(d, const_cast<char*>("WM_DELETE_WINDOW"), False);
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

// The pointer grab and the click are shown end to end; here the search from
// the widget clicked on.
TEST(HelpWindow, contextHelpAnswersWithTheNearestEnclosingCellThatHasATopic)
{
    testApp();
    TestParent parent("contextParent", 300, 200);
    TopicCell cell(&parent);
    EXPECT_EQ(HelpBtn::helpAt(cell.label, nullptr), cell.baseWidget());
    EXPECT_STREQ(HelpWindow::lastTopic(), "faq");
    EXPECT_EQ(HelpBtn::helpAt(parent.baseWidget(), nullptr), nullptr);
}
