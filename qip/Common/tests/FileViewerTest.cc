#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include <algorithm>
#include <string>

#include "qip/Common/FileViewer.h"
#include "qip/Components/testsupport/TestApp.h"

namespace {

// Pixels of the text colour in the picture's rows [y0, y1).
int textPixels(FileViewer& v, int y0, int y1)
{
    Window root;
    int x, y;
    unsigned w, h, border, depth;
    XGetGeometry(v.display(), v.currentPicture(), &root, &x, &y, &w, &h, &border, &depth);
    return lumox_test::countPixels(v.display(), v.currentPicture(), 0, y0, w, std::min<int>(y1, h) - y0,
                                   v.textColor());
}

struct ShownViewer {
    TestParent parent{"viewerParent", 600, 500};
    FileViewer viewer{"fileViewer"};
    ShownViewer()
    {
        viewer.install(&parent);
        parent.show();
    }
};

}  // namespace

TEST(FileViewer, displayPutsTheLineAtTheTopAndReadsOnlyTheVisibleLines)
{
    ShownViewer s;
    EXPECT_EQ(s.viewer.view(), qipView(0, 0, 80, 20));
    std::string text;
    for (int i = 1; i <= 1000; ++i)
        text += "line " + std::to_string(i) + "\n";
    std::string path = lumox_test::scratchFile("file-viewer", "numbered.txt", text);
    s.viewer.display(path.c_str(), 101);
    EXPECT_EQ(s.viewer.canvasHeight(), 1001);
    EXPECT_EQ(s.viewer.canvasWidth(), 10) << "the widest line and the margin column";
    EXPECT_EQ(s.viewer.view()._y, 100);
    EXPECT_EQ(s.viewer.browser().linesRead(), 20);

    // Line 0 or no name change nothing.
    s.viewer.display(path.c_str(), 0);
    s.viewer.display(nullptr, 1);
    EXPECT_EQ(s.viewer.view()._y, 100);

    // The keys' action scrolls by pages and to the ends.
    Widget area = s.viewer.drawingArea();
    String page[] = {const_cast<char*>("page"), const_cast<char*>("1")};
    XtCallActionProc(area, "FileViewerScroll", nullptr, page, 2);
    EXPECT_EQ(s.viewer.view()._y, 119);
    String bottom[] = {const_cast<char*>("bottom")};
    XtCallActionProc(area, "FileViewerScroll", nullptr, bottom, 1);
    EXPECT_EQ(s.viewer.view()._y, 1001 - 20);
}

TEST(FileViewer, drawsTheTextOfEachLineOnItsOwnRowAndNothingForAMissingFile)
{
    ShownViewer s;
    s.viewer.display(lumox_test::scratchFile("file-viewer", "two.txt", "XXXXXXXX\n\nXXXXXXXX\n").c_str(), 1);
    int line = s.viewer.vPixels();
    EXPECT_GT(textPixels(s.viewer, 0, line + 2), 0);
    EXPECT_EQ(textPixels(s.viewer, line + 3, 2 * line), 0) << "the empty second line";
    EXPECT_GT(textPixels(s.viewer, 2 * line, 3 * line + 2), 0);

    s.viewer.display((lumox_test::scratchDir("file-viewer") + "/missing.txt").c_str(), 1);
    EXPECT_FALSE(s.viewer.browser().isOpen());
    EXPECT_EQ(s.viewer.maxLineLen(), 0);
    EXPECT_EQ(textPixels(s.viewer, 0, 20 * line), 0);
}
