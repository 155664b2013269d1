#include <gtest/gtest.h>

#include <Xm/Separator.h>
#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <string>

#include "app/shell/LmxStsBar.h"
#include "app/shell/LumoxWindow.h"
#include "app/messages/MsgArea.h"
#include "app/testsupport/AppTestEnv.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipApplication.h"
#include "qip/Components/qipQuitCommand.h"
#include "tests/support/TestSupport.h"

namespace {

LumoxWindow* window() { return appTestWindow(); }

Widget find(const char* path)
{
    Widget w = XtNameToWidget(window()->baseWidget(), path);
    EXPECT_NE(w, nullptr) << path;
    return w;
}

std::string text(Widget w)
{
    XmString s = nullptr;
    XtVaGetValues(w, XmNlabelString, &s, nullptr);
    if (!s)
        return "";
    char* c = static_cast<char*>(XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
    std::string out = c ? c : "";
    XtFree(c);
    XmStringFree(s);
    return out;
}

char mnemonic(Widget w)
{
    KeySym k = NoSymbol;
    XtVaGetValues(w, XmNmnemonic, &k, nullptr);
    return k == NoSymbol ? 0 : static_cast<char>(k);
}

// The widget's top left corner on the screen.
XPoint at(Widget w)
{
    Position x, y;
    XtTranslateCoords(w, 0, 0, &x, &y);
    return XPoint{x, y};
}

int width(Widget w)
{
    Dimension d;
    XtVaGetValues(w, XmNwidth, &d, nullptr);
    return d;
}

// The pane's entries with their labels and mnemonics, separators as "—".
std::vector<std::string> entries(const char* pane)
{
    Widget menu = nullptr;
    XtVaGetValues(find(pane), XmNsubMenuId, &menu, nullptr);
    std::vector<std::string> out;
    WidgetList kids;
    Cardinal n;
    XtVaGetValues(menu, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i) {
        if (XmIsSeparator(kids[i]) || XmIsSeparatorGadget(kids[i]))
            out.push_back("—");
        else
            out.push_back(text(kids[i]) + " (" + std::string(1, mnemonic(kids[i])) + ")");
    }
    return out;
}

}  // namespace

TEST(LumoxWindow, isTitledLumoxAndHoldsTheAreasInOrder)
{
    Widget shell = window()->baseWidget();
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Lumox");
    Widget toolbar = find("aWindow.outerframe.workarea.toolbar");
    Widget area = find("aWindow.outerframe.workarea.msgArea");
    Widget status = find("aWindow.outerframe.workarea.statusbar_work");
    EXPECT_LT(at(find("aWindow.menu")).y, at(toolbar).y);
    EXPECT_LT(at(toolbar).y, at(area).y);
    EXPECT_LT(at(area).y, at(status).y);
}

TEST(LumoxWindow, menusHoldTheirItemsAndMnemonicsAndHelpEntriesTheirTopics)
{
    EXPECT_EQ(text(find("aWindow.menu.file")), "File");
    EXPECT_EQ(mnemonic(find("aWindow.menu.file")), 'F');
    EXPECT_EQ(mnemonic(find("aWindow.menu.messages")), 'M');
    EXPECT_EQ(mnemonic(find("aWindow.menu.help")), 'H');
    EXPECT_EQ(entries("aWindow.menu.file"),
              (std::vector<std::string>{"Load... (L)", "Save (S)", "SaveAs... (A)", "—", "Exit (x)"}));
    EXPECT_EQ(entries("aWindow.menu.messages"), (std::vector<std::string>{"Next (N)", "Prev (P)", "—", "Delete (D)",
                                                                           "—", "Suppress (p)", "—", "Sort (o)"}));
    EXPECT_EQ(entries("aWindow.menu.help"),
              (std::vector<std::string>{"Overview (O)", "—", "On toolbar (t)", "On reports (r)", "On messages (m)",
                                        "—", "Obrint++ FAQ (F)", "—", "About Lumox... (A)"}));
    Widget helpWidget = nullptr;
    XtVaGetValues(find("aWindow.menu"), XmNmenuHelpWidget, &helpWidget, nullptr);
    EXPECT_EQ(helpWidget, find("aWindow.menu.help"));

    // Each help entry asks for its topic.
    Widget menu = nullptr;
    XtVaGetValues(find("aWindow.menu.help"), XmNsubMenuId, &menu, nullptr);
    for (const char* topic : {"overview", "toolbar", "reports", "messages", "faq"}) {
        XtCallCallbacks(XtNameToWidget(menu, topic), XmNactivateCallback, nullptr);
        EXPECT_STREQ(HelpWindow::lastTopic(), topic);
    }
    XtCallCallbacks(XtNameToWidget(menu, "aboutBtn"), XmNactivateCallback, nullptr);
    EXPECT_STREQ(HelpWindow::lastTopic(), "about");
}

TEST(LumoxWindow, toolGroupsRunLeftToRightWithTheHelpGroupAtTheRightEdge)
{
    const char* bar = "aWindow.outerframe.workarea.toolbar";
    Widget toolbar = find(bar);
    Widget nav = XtNameToWidget(toolbar, "navigationGroup");
    Widget action = XtNameToWidget(toolbar, "actionGroup");
    Widget help = XtNameToWidget(toolbar, "helpGroup");
    ASSERT_TRUE(nav && action && help);
    EXPECT_LT(at(nav).x, at(action).x);
    EXPECT_LT(at(action).x, at(help).x);
    EXPECT_NEAR(at(help).x + width(help), at(toolbar).x + width(toolbar), 3);

    Widget work = XtNameToWidget(nav, "navigationGroup_work");
    Widget next = XtNameToWidget(work, "vbutton.nextBtn");
    Widget prev = XtNameToWidget(work, "vbutton.prevBtn");
    Widget del = XtNameToWidget(work, "delBtn");
    Widget supr = XtNameToWidget(work, "suprBtn");
    ASSERT_TRUE(next && prev && del && supr);
    EXPECT_LT(at(next).y, at(prev).y);
    EXPECT_EQ(at(next).x, at(prev).x);
    EXPECT_LT(at(next).x, at(del).x);
    EXPECT_LT(at(del).x, at(supr).x);
    EXPECT_LT(at(XtNameToWidget(help, "*helpBtn")).x, at(XtNameToWidget(help, "*exitBtn")).x);
    EXPECT_NE(XtNameToWidget(action, "*build"), nullptr);

    EXPECT_EQ(text(XtNameToWidget(work, "delBtn.delBtn_label")), "Delete");
    EXPECT_EQ(text(XtNameToWidget(help, "*exitBtn.exitBtn_label")), "Exit");
}

TEST(LumoxWindow, commandButtonsStartOffAndShowTheirGreyedIcons)
{
    Widget next = find("*navigationGroup_work.vbutton.nextBtn.nextBtn_button");
    EXPECT_FALSE(XtIsSensitive(next));
    Pixmap normal = 0, greyed = 0;
    XtVaGetValues(next, XmNlabelPixmap, &normal, XmNlabelInsensitivePixmap, &greyed, nullptr);
    EXPECT_NE(greyed, XmUNSPECIFIED_PIXMAP);
    EXPECT_NE(normal, greyed);
    // Exit and the help button work with nothing connected.
    EXPECT_TRUE(XtIsSensitive(find("*helpGroup_work.exitBtn.exitBtn_button")));
    EXPECT_TRUE(XtIsSensitive(find("*helpGroup_work.helpBtn.helpBtn_button")));

    // The greyed arrow has no blue in it; switched on, the arrow is blue.
    auto blue = [&] {
        lumox_test::runLoopFor(appTestContext(), 100);
        XImage* img = XGetImage(XtDisplay(next), XtWindow(next), 0, 0, width(next), 20, AllPlanes, ZPixmap);
        int count = 0;
        for (int y = 0; y < img->height; ++y)
            for (int x = 0; x < img->width; ++x) {
                unsigned long p = XGetPixel(img, x, y);
                int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
                count += b > 150 && r < 100 && g < 150;
            }
        XDestroyImage(img);
        return count;
    };
    EXPECT_EQ(blue(), 0);
    theMessageContainer->activateBtns();
    EXPECT_TRUE(XtIsSensitive(next));
    EXPECT_GT(blue(), 20);
    theMessageContainer->deactivateBtns();
    EXPECT_FALSE(XtIsSensitive(next));
}

TEST(StatusBar, showsCountsLeftAlignedInFourColumns)
{
    window();
    Widget msg = find("*msgFrame.msgLbl");
    Widget con = find("*conFrame.conLbl");
    EXPECT_EQ(text(msg), " Messages: None ");
    EXPECT_EQ(text(con), " Connections: None ");
    theStatusBar->nMessages(12);
    theStatusBar->nConnections(3);
    EXPECT_EQ(text(msg), " Messages: 12   ");
    EXPECT_EQ(text(con), " Connections: 3    ");
    theStatusBar->nMessages(0);
    theStatusBar->nConnections(0);
    EXPECT_EQ(text(msg), " Messages: None ");
    // The connection count stands left of the message count.
    EXPECT_LT(at(con).x, at(msg).x);
}

TEST(StatusBar, aTransientMessageGivesWayToThePermanentTextAfterTheLastOne)
{
    window();
    XtAppContext c = appTestContext();
    Widget label = find("*statusbar_work.messageArea");
    theStatusBar->setPermanent("Ready");
    theStatusBar->displayMessage("First");
    EXPECT_EQ(text(label), "First");
    lumox_test::runLoopFor(c, 1500);
    theStatusBar->displayMessage("Second");
    EXPECT_EQ(text(label), "Second");
    // 2000 ms after the second message it is still up, though the first
    // message's timeout would have run out by now.
    lumox_test::runLoopFor(c, 2000);
    EXPECT_EQ(text(label), "Second");
    EXPECT_TRUE(lumox_test::runLoopUntil(c, [&] { return text(label) == "Ready"; }, 3000));
}
