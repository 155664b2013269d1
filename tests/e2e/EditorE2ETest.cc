#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

const char* headers = "msgArea.MessageHeaders.MessageHeaders";

struct EditorSetup {
    std::string dir, log, editor;
    EditorSetup()
    {
        dir = scratchDir("editor-prompt-" + std::to_string(getpid()));
        mkdir((dir + "/src").c_str(), 0755);
        mkdir((dir + "/elsewhere").c_str(), 0755);
        writeFile(dir + "/src/found.c", "int x;\n");
        writeFile(dir + "/elsewhere/moved.c", "int y;\n");
        log = dir + "/editor.log";
        editor = dir + "/editor.sh";
        writeFile(editor, "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
        chmod(editor.c_str(), 0755);
        unlink(log.c_str());
    }
    std::string waitForLog(size_t lines)
    {
        for (int i = 0; i < 100; ++i) {
            std::string text = readFile(log);
            if (static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= lines)
                return text;
            sleepMs(50);
        }
        return readFile(log);
    }
};

bool sendOne(LumoxHarness& lumox, const std::string& category, const std::string& where)
{
    Child c;
    std::string file = scratchDir("messages") + "/editor-" + std::to_string(getpid()) + ".txt";
    writeFile(file, "category: " + category + "\nfile: " + where + "\nbody: text\n");
    return c.start({buildPath("bin/lumox-send"), "--quiet", "--program", "edit", file},
                   {"LUMOX_PORT=" + std::to_string(lumox.port())}) &&
           c.wait(10000) == 0;
}

// Double-clicks the header line that holds `text` (a click first selects it).
bool openLine(LumoxHarness& lumox, const std::string& text)
{
    WidgetInfo w;
    if (!lumox.widget(headers, w) || w.content.empty())
        return false;
    int line = -1;
    for (size_t i = 1; i < w.content.size() && line < 0; ++i)
        if (w.content[i].find(text) != std::string::npos)
            line = static_cast<int>(i) - 1;
    if (line < 0)
        return false;
    int vp = atoi(w.content[0].c_str() + w.content[0].rfind(' ') + 1);
    int x = w.x + 60, y = w.y + line * vp + vp / 2;
    click(lumox.display(), x, y);
    sleepMs(600);
    doubleClick(lumox.display(), x, y);
    return true;
}

bool waitForWidget(LumoxHarness& lumox, const std::string& suffix, WidgetInfo& w)
{
    for (int i = 0; i < 100; ++i) {
        if (lumox.widget(suffix, w) && w.viewable)
            return true;
        sleepMs(50);
    }
    return false;
}

}  // namespace

TEST(Editor, withoutATemplateItAsksOnceWithTheDefaultPreset)
{
    EditorSetup setup;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL="}));
    ASSERT_TRUE(sendOne(lumox, "FIRST_OPEN", setup.dir + "/src/found.c:12"));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return l.size() >= 4; }));
    ASSERT_TRUE(openLine(lumox, "FIRST_OPEN"));
    WidgetInfo text;
    ASSERT_TRUE(waitForWidget(lumox, "getEditor.Text", text)) << "no editor prompt";
    WidgetInfo label;
    ASSERT_TRUE(lumox.widget("getEditor.Selection", label));
    EXPECT_EQ(label.label, "Enter command to execute: ");
    EXPECT_EQ(text.label, "xterm -e vi +%l %f");
    lumox.screenshot("editor-prompt");
    multiClick(lumox.display(), text.centerX(), text.centerY(), 3);
    typeText(lumox.display(), setup.editor + " +%l %f");
    pressKey(lumox.display(), "Return");
    EXPECT_EQ(setup.waitForLog(1), "+12 " + setup.dir + "/src/found.c\n");

    // The answer stands for the rest of the run: no second question.
    ASSERT_TRUE(sendOne(lumox, "SECOND_OPEN", setup.dir + "/src/found.c:30"));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) {
        for (const auto& s : l)
            if (s.find("SECOND_OPEN") != std::string::npos)
                return true;
        return false;
    }));
    ASSERT_TRUE(openLine(lumox, "SECOND_OPEN"));
    EXPECT_EQ(setup.waitForLog(2), "+12 " + setup.dir + "/src/found.c\n+30 " + setup.dir + "/src/found.c\n");
    EXPECT_FALSE(lumox.widget("getEditor.Text", text) && text.viewable);
}

TEST(Editor, aFileThatIsNowhereIsAskedForAndItsDirectoryRemembered)
{
    EditorSetup setup;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL=" + setup.editor + " %f:%l"}));
    ASSERT_TRUE(sendOne(lumox, "MOVED_SOURCE", "/nonexistent/dir/moved.c:5"));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return l.size() >= 4; }));
    ASSERT_TRUE(openLine(lumox, "MOVED_SOURCE"));
    WidgetInfo text;
    ASSERT_TRUE(waitForWidget(lumox, "fileSelection.Text", text)) << "no file dialog";
    WidgetInfo filter;
    ASSERT_TRUE(lumox.widget("fileSelection.FilterText", filter));
    EXPECT_NE(filter.label.find("moved.c"), std::string::npos) << filter.label;
    lumox.screenshot("file-dialog");
    multiClick(lumox.display(), text.centerX(), text.centerY(), 3);
    typeText(lumox.display(), setup.dir + "/elsewhere/moved.c");
    pressKey(lumox.display(), "Return");
    EXPECT_EQ(setup.waitForLog(1), setup.dir + "/elsewhere/moved.c:5\n");

    // The same file name is now found in the remembered directory.
    ASSERT_TRUE(openLine(lumox, "MOVED_SOURCE"));
    EXPECT_EQ(setup.waitForLog(2), setup.dir + "/elsewhere/moved.c:5\n" + setup.dir + "/elsewhere/moved.c:5\n");
}
