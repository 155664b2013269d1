#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <string>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

const char* const viewerPath = "Help.aWindow.outerframe.workarea.fileViewer.fileViewer";

// The pixels the help window's viewer shows, once they have stopped
// changing; empty when the viewer is not on screen.
std::string viewerPixels(LumoxHarness& lumox)
{
    std::string last;
    for (int i = 0; i < 40; ++i) {
        WidgetInfo w;
        if (!lumox.widget(viewerPath, w) || w.width <= 0)
            return "";
        XImage* image = XGetImage(lumox.display(), DefaultRootWindow(lumox.display()), w.x, w.y, w.width, w.height,
                                  AllPlanes, ZPixmap);
        if (!image)
            return "";
        std::string now(image->data, image->bytes_per_line * image->height);
        XDestroyImage(image);
        if (now == last)
            return now;
        last = now;
        sleepMs(100);
    }
    return last;
}

bool waitForHelpWindow(LumoxHarness& lumox, bool shown)
{
    return pollUntil([&] { return windowMapped(lumox.display(), "Help") == shown; });
}

}  // namespace

TEST(Help, contextHelpOnAToolButtonShowsTheToolbarTopicAndTheMenuShowsTheOverview)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    EXPECT_FALSE(windowMapped(lumox.display(), "Help"));

    // Help, then a click on the Delete button (found first: while the user
    // picks, the program answers no widget-dump request).
    WidgetInfo del;
    ASSERT_TRUE(lumox.widget("navigationGroup_work.delBtn.delBtn_button", del));
    ASSERT_TRUE(lumox.clickWidget("helpGroup_work.helpBtn.helpBtn_button"));
    sleepMs(500);
    click(lumox.display(), del.centerX(), del.centerY());
    ASSERT_TRUE(waitForHelpWindow(lumox, true)) << "no help window after context help";
    std::string contextHelp = viewerPixels(lumox);
    ASSERT_FALSE(contextHelp.empty());
    lumox.screenshot("help-context-toolbar");

    // Close hides it; Help > On toolbar shows the very same page.
    ASSERT_TRUE(lumox.clickWidget("closeGroup_work.closeBtn"));
    ASSERT_TRUE(waitForHelpWindow(lumox, false));
    ASSERT_TRUE(lumox.chooseMenu("help", "toolbar"));
    ASSERT_TRUE(waitForHelpWindow(lumox, true));
    EXPECT_EQ(viewerPixels(lumox), contextHelp) << "context help on Delete did not show the toolbar topic";

    ASSERT_TRUE(lumox.chooseMenu("help", "overview"));
    sleepMs(200);
    std::string overview = viewerPixels(lumox);
    EXPECT_FALSE(overview.empty());
    EXPECT_NE(overview, contextHelp);
    EXPECT_EQ(lumox.widgets("Help").size(), 1u) << "one help window, reused";
    lumox.screenshot("help-overview");
    EXPECT_TRUE(lumox.process().running());
}
