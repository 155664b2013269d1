#include <gtest/gtest.h>

#include "qip/Components/qipScrollingList.h"
#include "qip/Components/testsupport/TestApp.h"
#include "tests/support/XTestInput.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace lumox_test;

namespace {

// Records every operation that reaches it and what the base class answered.
class RecordingList : public qipScrollingList {
public:
    RecordingList() : qipScrollingList("recList")
    {
        resizeCanvas(40, 100);
        viewSize(30, 8);
    }
    void refresh(Drawable, qipView) override {}
    int select(int line) override
    {
        calls.push_back("select " + std::to_string(line));
        return qipScrollingList::select(line);
    }
    int next() override
    {
        calls.push_back("next");
        return qipScrollingList::next();
    }
    int prev() override
    {
        calls.push_back("prev");
        return qipScrollingList::prev();
    }
    int del() override
    {
        calls.push_back("del");
        return qipScrollingList::del();
    }
    int activate(int x, int y) override
    {
        int rc = qipScrollingList::activate(x, y);
        lastX = x;
        lastY = y;
        calls.push_back(rc == 0 ? "activated" : "refused");
        return rc;
    }
    std::vector<std::string> calls;
    int lastX = -1, lastY = -1;
};

class ScrollingListTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent = new TestParent("listParent", 300, 200);
        ASSERT_EQ(list.setFont("6x10"), 0);
        list.install(parent);
        list.installDefaultTranslations();
        parent->show();
        area = list.drawingArea();
        display = XtDisplay(area);
        focusOn(area);
    }
    void TearDown() override { delete parent; }

    void key(const char* keysym)
    {
        pressKey(display, keysym);
        settle(30);
    }
    // Root position of pixel row `y`, a little right of the area's edge.
    void rowPoint(int y, int& rx, int& ry) { rootPoint(area, 20, y, rx, ry); }
    std::vector<std::string> takeCalls()
    {
        std::vector<std::string> c;
        c.swap(list.calls);
        return c;
    }
    void dispatch(Widget w, const char* action, XEvent* event = nullptr)
    {
        String params[] = {const_cast<char*>(action)};
        Cardinal n = 1;
        qipScrollingList::dispatcher(w, event, params, &n);
    }

    TestParent* parent = nullptr;
    RecordingList list;
    Widget area = nullptr;
    Display* display = nullptr;
};

typedef std::vector<std::string> Calls;
const char* const unknownClient = " **** qipScrollingList::dispatcher() : unknown client!\n";

}  // namespace

TEST_F(ScrollingListTest, keysReachTheirOperations)
{
    for (const char* k : {"j", "Down", "k", "Up", "Delete", "BackSpace"})
        key(k);
    EXPECT_EQ(takeCalls(), (Calls{"next", "next", "prev", "prev", "del", "del"}));
    // Keys that are bound to nothing of the list's own change nothing.
    key("Next");
    key("x");
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(ScrollingListTest, activationCountsOnlyAfterASelectionAndADoubleClickActivatesOnce)
{
    key("Return");
    key("space");
    EXPECT_EQ(takeCalls(), (Calls{"refused", "refused"}));

    // Line 3 of a view that starts at line 5.
    list.vertScroll(5);
    int x, y;
    rowPoint(3 * list.vPixels() + 2, x, y);
    click(display, x, y);
    settle();
    key("Return");
    key("space");
    EXPECT_EQ(takeCalls(), (Calls{"select 8", "activated", "refused"}));
    EXPECT_EQ(list.clicked(), 0);

    settle(400);
    rowPoint(list.vPixels() + 2, x, y);
    doubleClick(display, x, y);
    settle(100);
    // The second press may be taken by the double-click sequence itself.
    Calls calls = takeCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front(), "select 6");
    EXPECT_EQ(calls.back(), "activated");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "activated"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "refused"), 0);
}

TEST_F(ScrollingListTest, theDoubleClickActionWithoutAPressDoesNotActivate)
{
    XEvent release{};
    release.type = ButtonRelease;
    release.xbutton.window = XtWindow(area);
    release.xbutton.button = Button1;
    release.xbutton.x = 30;
    release.xbutton.y = 2 * list.vPixels();
    dispatch(area, "activate", &release);
    EXPECT_EQ(takeCalls(), (Calls{"refused"}));
    EXPECT_EQ(list.lastX, 30);
    EXPECT_EQ(list.lastY, 2 * list.vPixels());
}

TEST_F(ScrollingListTest, focusColoursTheBorder)
{
    Pixel highlight = 0, parentBg = 0, border = 0;
    Dimension borderWidth = 0;
    XtVaGetValues(area, XmNhighlightColor, &highlight, XmNborderWidth, &borderWidth, nullptr);
    XtVaGetValues(XtParent(area), XmNbackground, &parentBg, nullptr);
    EXPECT_EQ(borderWidth, 2);
    dispatch(area, "focusIn");
    XtVaGetValues(area, XmNborderColor, &border, nullptr);
    EXPECT_EQ(border, highlight);
    dispatch(area, "focusOut");
    XtVaGetValues(area, XmNborderColor, &border, nullptr);
    EXPECT_EQ(border, parentBg);
}

TEST_F(ScrollingListTest, actionsOnAWidgetOfNoListOrOfADestroyedListAreReported)
{
    Widget stranger = XtVaCreateManagedWidget("stranger", xmDrawingAreaWidgetClass, parent->clientArea(), nullptr);
    testing::internal::CaptureStderr();
    dispatch(stranger, "next");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), unknownClient);

    XtDestroyWidget(list.baseWidget());
    settle(20);
    EXPECT_EQ(list.drawingArea(), nullptr);
    testing::internal::CaptureStderr();
    dispatch(area, "next");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), unknownClient);
    EXPECT_TRUE(takeCalls().empty());
}
