#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/e2e/LumoxHarness.h"

using namespace lumox_test;

namespace {

// An editor script and sources: src/found.c, and elsewhere/moved.c that
// messages say lies in a directory that does not exist.
struct Sources : EditorScript {
    Sources()
    {
        mkdir((dir + "/src").c_str(), 0755);
        mkdir((dir + "/elsewhere").c_str(), 0755);
        writeFile(dir + "/src/found.c", "int x;\n");
        writeFile(dir + "/elsewhere/moved.c", "int y;\n");
    }
};

// Sends one message and waits until its line is listed.
bool sendOne(LumoxHarness& lumox, const std::string& category, const std::string& where)
{
    return lumox.sendAndFinish("edit", message(category, where)) &&
           lumox.waitForContent(headerList, [&](const std::vector<std::string>& l) { return lineOf(l, category) >= 0; });
}

}  // namespace

TEST(Editor, withoutATemplateItAsksOnceWithTheDefaultPreset)
{
    Sources s;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL="}));
    ASSERT_TRUE(sendOne(lumox, "FIRST_OPEN", s.dir + "/src/found.c:12"));
    ASSERT_TRUE(lumox.openLine("FIRST_OPEN"));
    WidgetInfo text;
    ASSERT_TRUE(lumox.waitForWidget("getEditor.Text", text)) << "no editor prompt";
    EXPECT_EQ(lumox.label("getEditor.Selection"), "Enter command to execute: ");
    EXPECT_EQ(text.label, "xterm -e vi +%l %f");
    lumox.screenshot("editor-prompt");
    ASSERT_TRUE(lumox.answerDialog("getEditor.Text", s.path + " +%l %f"));
    EXPECT_EQ(s.waitForLog(1), "+12 " + s.dir + "/src/found.c\n");

    // The answer stands for the rest of the run: no second question.
    ASSERT_TRUE(sendOne(lumox, "SECOND_OPEN", s.dir + "/src/found.c:30"));
    ASSERT_TRUE(lumox.openLine("SECOND_OPEN"));
    EXPECT_EQ(s.waitForLog(2), "+12 " + s.dir + "/src/found.c\n+30 " + s.dir + "/src/found.c\n");
    EXPECT_FALSE(lumox.widget("getEditor.Text", text) && text.viewable);
}

TEST(Editor, aFileThatIsNowhereIsAskedForAndItsDirectoryRemembered)
{
    Sources s;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL=" + s.path + " %f:%l"}));
    ASSERT_TRUE(sendOne(lumox, "MOVED_SOURCE", "/nonexistent/dir/moved.c:5"));
    ASSERT_TRUE(lumox.openLine("MOVED_SOURCE"));
    WidgetInfo text;
    ASSERT_TRUE(lumox.waitForWidget("fileSelection.Text", text)) << "no file dialog";
    std::string filter = lumox.label("fileSelection.FilterText");
    EXPECT_NE(filter.find("moved.c"), std::string::npos) << filter;
    lumox.screenshot("file-dialog");
    ASSERT_TRUE(lumox.answerDialog("fileSelection.Text", s.dir + "/elsewhere/moved.c"));
    EXPECT_EQ(s.waitForLog(1), s.dir + "/elsewhere/moved.c:5\n");

    // The same file name is now found in the remembered directory.
    ASSERT_TRUE(lumox.openLine("MOVED_SOURCE"));
    EXPECT_EQ(s.waitForLog(2), s.dir + "/elsewhere/moved.c:5\n" + s.dir + "/elsewhere/moved.c:5\n");
}
