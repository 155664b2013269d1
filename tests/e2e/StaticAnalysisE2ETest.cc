#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

const char* headers = "msgArea.MessageHeaders.MessageHeaders";
const char* supr = "suprWindow.aWindow.outerframe.workarea.supr.supr";
const char* statusText = "statusbar_work.messageArea";

int count(const std::vector<std::string>& lines, const std::string& text)
{
    int n = 0;
    for (size_t i = 0; i < lines.size(); ++i)
        n += lines[i].find(text) != std::string::npos;
    return n;
}

// The index of the first visible line holding `text`, or -1.
int lineOf(const std::vector<std::string>& lines, const std::string& text)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return static_cast<int>(i) - 1;
    return -1;
}

bool clickLine(LumoxHarness& lumox, const char* pane, int index, int x = 60)
{
    WidgetInfo w;
    if (!lumox.widget(pane, w) || w.content.empty() || index < 0)
        return false;
    size_t at = w.content[0].rfind(' ');
    int vp = atoi(w.content[0].c_str() + at + 1);
    click(lumox.display(), w.x + x, w.y + index * vp + vp / 2);
    return true;
}

bool selectedHas(const std::vector<std::string>& lines, const std::string& text)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].rfind("> ", 0) == 0)
            return lines[i].find(text) != std::string::npos;
    return false;
}

// A project directory with the example source and a home directory, both
// fresh.
struct Project {
    std::string home, dir;
    Project()
    {
        std::string root = scratchDir("static-analysis") + "/" + std::to_string(getpid()) + "-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string cmd = "rm -rf '" + root + "' && mkdir -p '" + root + "/home' '" + root + "/project'";
        EXPECT_EQ(system(cmd.c_str()), 0);
        home = root + "/home";
        dir = root + "/project";
        writeFile(dir + "/shapes.cc", readFile(std::string(LUMOX_SOURCE_DIR) + "/examples/effc++/shapes.cc"));
    }
};

// Waits until the status bar counts `n` shown messages.
bool waitForMessages(LumoxHarness& lumox, int n)
{
    std::string want = " Messages: " + std::to_string(n) + " ";
    for (int i = 0; i < 300; ++i) {
        if (lumox.label("msgLbl").rfind(want, 0) == 0)
            return true;
        sleepMs(100);
    }
    return false;
}

bool analyse(LumoxHarness& lumox, const Project& p, const std::vector<std::string>& extra = {})
{
    std::vector<std::string> args = {buildPath("bin/lumox-zx")};
    args.insert(args.end(), extra.begin(), extra.end());
    for (const char* a : {"g++", "-c", "shapes.cc"})
        args.push_back(a);
    Child zx;
    if (!zx.start(args, {"LUMOX_PORT=" + std::to_string(lumox.port()), "HOME=" + p.home}, p.dir))
        return false;
    int status = zx.wait(60000);
    EXPECT_EQ(status, 0) << zx.err();
    return status == 0;
}

}  // namespace

TEST(StaticAnalysis, violationsSuppressedInTheEditorStayHiddenAfterARebuild)
{
    Project p;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"HOME=" + p.home}));
    ASSERT_TRUE(analyse(lumox, p));
    ASSERT_TRUE(waitForMessages(lumox, 9));
    std::vector<std::string> lines = lumox.content(headers);
    EXPECT_EQ(count(lines, "Zentrix: Analyzing \"shapes.cc\""), 1);
    EXPECT_EQ(count(lines, "  zx    EffC++11   PSV  Label"), 1);
    EXPECT_EQ(count(lines, "  zx    EffC++12   PV   Label"), 2);
    EXPECT_EQ(count(lines, "EffC++14"), 4);
    EXPECT_EQ(count(lines, "EffC++6 "), 0) << "informational: hidden by the hard-wired suppression";

    // Suppress on the item 11 violation opens the editor on it.
    ASSERT_TRUE(clickLine(lumox, headers, lineOf(lines, "EffC++11")));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "EffC++11"); }));
    ASSERT_TRUE(lumox.clickWidget("navigationGroup_work.suprBtn.suprBtn_button"));
    ASSERT_NE(findWindow(lumox.display(), "Zentrix Suppressions", 10000), 0u);
    ASSERT_TRUE(lumox.waitForContent(supr, [&](const auto& l) { return count(l, p.dir + "/.qnrc") == 1; }));
    std::vector<std::string> rows = lumox.content(supr);
    EXPECT_EQ(count(rows, "Hardwired suppressions"), 1);
    EXPECT_EQ(count(rows, "Suppressions from: " + p.home + "/.qnrc"), 1);
    EXPECT_TRUE(selectedHas(rows, p.dir + "/.qnrc")) << "the cursor starts on the last row";

    // new makes an entry for the violation in the project set; it hides it.
    ASSERT_TRUE(lumox.clickWidget("editGrp_work.new.new_button"));
    ASSERT_TRUE(lumox.waitForContent(supr, [](const auto& l) { return selectedHas(l, "11     PSV    Label"); }));
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return count(l, "EffC++11") == 0; }));
    lumox.screenshot("suppression-editor");

    ASSERT_TRUE(lumox.clickWidget("fileGrp_work.save.save_button"));
    ASSERT_TRUE(lumox.waitForLabel(statusText, "Suppressions saved"));
    EXPECT_EQ(readFile(p.dir + "/.qnrc"),
              "  Zentrix.Suppress item 11 type PSV class Label file " + p.dir + "/shapes.cc\n");

    // Rebuild runs the analyser again; the new session hides item 11 too.
    lines = lumox.content(headers);
    ASSERT_TRUE(clickLine(lumox, headers, lineOf(lines, "Zentrix: Analyzing")));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "Zentrix: Analyzing"); }));
    WidgetInfo build;
    ASSERT_TRUE(lumox.widget("actionGroup_work.build.build_button", build));
    EXPECT_TRUE(build.sensitive);
    click(lumox.display(), build.centerX(), build.centerY());
    // 9 violations shown before, 8 once item 11 was suppressed; the new run
    // adds its 8.
    ASSERT_TRUE(waitForMessages(lumox, 16));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return count(l, "Zentrix: Analyzing") == 2; }));
    // Down to the last line: the view then shows the new session whole.
    ASSERT_TRUE(clickLine(lumox, headers, 0));
    for (int i = 0; i < 20; ++i)
        pressKey(lumox.display(), "j");
    auto newSession = [](const std::vector<std::string>& l) {
        std::vector<std::string> after;
        bool seen = false;
        for (size_t i = 1; i < l.size(); ++i) {
            if (seen)
                after.push_back(l[i]);
            seen = seen || l[i].find("Zentrix: Analyzing") != std::string::npos;
        }
        return after;
    };
    ASSERT_TRUE(lumox.waitForContent(headers, [&](const auto& l) { return newSession(l).size() == 8; }));
    std::vector<std::string> fresh = newSession(lumox.content(headers));
    EXPECT_EQ(count(fresh, "EffC++11"), 0);
    EXPECT_EQ(count(fresh, "EffC++12"), 2);
}

TEST(StaticAnalysis, aReportWithAStaticAnalysisSessionSavesAndLoadsBack)
{
    Project p;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"HOME=" + p.home}));
    ASSERT_TRUE(analyse(lumox, p, {"-Zoi", "suppress item 14"}));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return count(l, "EffC++") >= 4; }, 10000));
    EXPECT_EQ(count(lumox.content(headers), "EffC++14"), 0) << "the command line suppresses item 14";

    std::string report = p.dir + "/session.rpt";
    ASSERT_TRUE(lumox.clickWidget("menu.file"));
    WidgetInfo item;
    for (int i = 0; i < 50 && !lumox.widget("file.saveBtn", item); ++i)
        sleepMs(50);
    bool clicked = false;
    for (const WidgetInfo& w : lumox.widgets("file.saveBtn"))
        if (w.label == "SaveAs..." && w.viewable) {
            click(lumox.display(), w.centerX(), w.centerY());
            clicked = true;
        }
    ASSERT_TRUE(clicked);
    WidgetInfo text;
    for (int i = 0; i < 100 && !lumox.widget("fileSelection.Text", text); ++i)
        sleepMs(50);
    ASSERT_TRUE(text.viewable);
    multiClick(lumox.display(), text.centerX(), text.centerY(), 3);
    typeText(lumox.display(), report);
    pressKey(lumox.display(), "Return");
    ASSERT_TRUE(lumox.waitForLabel(statusText, "Saving error report ... Done"));

    Child rpt;
    ASSERT_TRUE(rpt.start({buildPath("bin/lumox-rpt"), "list", report}, {"HOME=" + p.home}));
    ASSERT_EQ(rpt.wait(10000), 0) << rpt.err();
    EXPECT_NE(rpt.out().find("Zentrix: Analyzing \"shapes.cc\""), std::string::npos) << rpt.out();
    EXPECT_NE(rpt.out().find("EffC++11"), std::string::npos);

    ASSERT_TRUE(clickLine(lumox, headers, 0));
    pressKey(lumox.display(), "l", "Meta_L");
    for (int i = 0; i < 100 && !lumox.widget("fileSelection.Text", text); ++i)
        sleepMs(50);
    ASSERT_TRUE(text.viewable);
    multiClick(lumox.display(), text.centerX(), text.centerY(), 3);
    typeText(lumox.display(), report);
    pressKey(lumox.display(), "Return");
    ASSERT_TRUE(lumox.waitForLabel(statusText, "Loading error report ... Done"));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return count(l, "Zentrix: Analyzing") == 2; }));
    std::vector<std::string> lines = lumox.content(headers);
    EXPECT_EQ(count(lines, "EffC++11"), 2);
    EXPECT_EQ(count(lines, "EffC++14"), 0) << "the saved command line still suppresses item 14";
}
