#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

using Lines = std::vector<std::string>;

const char* supr = "suprWindow.aWindow.outerframe.workarea.supr.supr";

// A fresh home directory and a project directory holding the example source.
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

// Runs lumox-zx over the example in the project directory.
bool analyse(LumoxHarness& lumox, const Project& p, const std::vector<std::string>& extra = {})
{
    std::vector<std::string> args = {buildPath("bin/lumox-zx")};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"g++", "-c", "shapes.cc"});
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
    ASSERT_TRUE(lumox.waitForMessages(9, 30000));
    Lines lines = lumox.content(headerList);
    EXPECT_EQ(countLines(lines, "Zentrix: Analyzing \"shapes.cc\""), 1);
    EXPECT_EQ(countLines(lines, "  zx    EffC++11   PSV  Label"), 1);
    EXPECT_EQ(countLines(lines, "  zx    EffC++12   PV   Label"), 2);
    EXPECT_EQ(countLines(lines, "EffC++14"), 4);
    EXPECT_EQ(countLines(lines, "EffC++6 "), 0) << "informational: hidden by the hard-wired suppression";

    // Suppress on the item 11 violation opens the editor on it.
    ASSERT_TRUE(lumox.selectLine("EffC++11"));
    ASSERT_TRUE(lumox.clickWidget("navigationGroup_work.suprBtn.suprBtn_button"));
    ASSERT_NE(findWindow(lumox.display(), "Zentrix Suppressions", 10000), 0u);
    ASSERT_TRUE(lumox.waitForContent(supr, [&](const Lines& l) { return countLines(l, p.dir + "/.qnrc") == 1; }));
    Lines rows = lumox.content(supr);
    EXPECT_EQ(countLines(rows, "Hardwired suppressions"), 1);
    EXPECT_EQ(countLines(rows, "Suppressions from: " + p.home + "/.qnrc"), 1);
    EXPECT_TRUE(selectedHas(rows, p.dir + "/.qnrc")) << "the cursor starts on the last row";

    // new makes an entry for the violation in the project set; it hides it.
    ASSERT_TRUE(lumox.clickWidget("editGrp_work.new.new_button"));
    ASSERT_TRUE(lumox.waitForContent(supr, [](const Lines& l) { return selectedHas(l, "11     PSV    Label"); }));
    EXPECT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "EffC++11") == 0; }));
    lumox.screenshot("suppression-editor");

    // A click on the entry's Type column opens the severity menu on the
    // screen; choosing PSV again keeps the entry as it is.
    WidgetInfo list;
    ASSERT_TRUE(lumox.widget(supr, list));
    rows = list.content;
    int row = lineOf(rows, "11     PSV    Label");
    ASSERT_GE(row, 0);
    const std::string& cell = rows[0];
    int hp = atoi(cell.c_str() + cell.rfind("cell ") + 5);
    int vp = atoi(cell.c_str() + cell.rfind(' ') + 1);
    int rowY = list.y + row * vp + vp / 2;
    click(lumox.display(), list.x + 17 * hp, rowY);
    WidgetInfo psv;
    bool shown = false;
    for (int i = 0; i < 100 && !shown; ++i) {
        for (const WidgetInfo& w : lumox.widgets("suprSev"))
            if (w.viewable) {
                shown = true;
                break;
            }
        if (!shown)
            sleepMs(50);
    }
    ASSERT_TRUE(shown) << "the severity menu did not open";
    for (const WidgetInfo& w : lumox.widgets())
        if (w.path.find("suprSev.suprSev_") != std::string::npos && w.label == "PSV")
            psv = w;
    ASSERT_GT(psv.width, 0);
    click(lumox.display(), psv.centerX(), psv.centerY());
    ASSERT_TRUE(lumox.waitForContent(supr, [](const Lines& l) { return selectedHas(l, "11     PSV    Label"); }));
    // The class field opens over the row without shrinking the list; Escape
    // leaves the entry as it was.
    click(lumox.display(), list.x + 30 * hp, rowY);
    WidgetInfo field;
    ASSERT_TRUE(lumox.waitForWidget("supr.supr.suprClass", field));
    EXPECT_EQ(field.label, "Label");
    WidgetInfo listNow;
    ASSERT_TRUE(lumox.widget(supr, listNow));
    EXPECT_EQ(listNow.height, list.height);
    pressKey(lumox.display(), "Escape");
    ASSERT_TRUE(lumox.waitForContent(supr, [](const Lines& l) { return selectedHas(l, "11     PSV    Label"); }));

    ASSERT_TRUE(lumox.clickWidget("fileGrp_work.save.save_button"));
    ASSERT_TRUE(lumox.waitForLabel(statusText, "Suppressions saved"));
    EXPECT_EQ(readFile(p.dir + "/.qnrc"),
              "  Zentrix.Suppress item 11 type PSV class Label file " + p.dir + "/shapes.cc\n");

    // Rebuild runs the analyser again; the new session hides item 11 too.
    ASSERT_TRUE(lumox.selectLine("Zentrix: Analyzing"));
    WidgetInfo build;
    ASSERT_TRUE(lumox.widget("actionGroup_work.build.build_button", build));
    EXPECT_TRUE(build.sensitive);
    // The command runs only once the user has seen it: Cancel runs nothing.
    click(lumox.display(), build.centerX(), build.centerY());
    WidgetInfo question;
    ASSERT_TRUE(lumox.waitForWidget("confirmBuild.Message", question));
    // The dump joins the lines of the text.
    EXPECT_NE(question.label.find("Command:    " + buildPath("bin/lumox-zx") + " g++ -c shapes.cc"), std::string::npos)
        << question.label;
    EXPECT_NE(question.label.find("Directory:  " + p.dir), std::string::npos) << question.label;
    EXPECT_NE(question.label.find("From:       a client of yours on this host"), std::string::npos);
    ASSERT_TRUE(lumox.clickWidget("confirmBuild.Cancel"));
    sleepMs(1500);
    EXPECT_TRUE(lumox.waitForMessages(8, 100)) << "nothing ran";
    click(lumox.display(), build.centerX(), build.centerY());
    ASSERT_TRUE(lumox.waitForWidget("confirmBuild.OK", question));
    ASSERT_TRUE(lumox.clickWidget("confirmBuild.OK"));
    // 9 violations shown before, 8 once item 11 was suppressed; the new run
    // adds its 8.
    ASSERT_TRUE(lumox.waitForMessages(16, 30000));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "Zentrix: Analyzing") == 2; }));
    // Down to the last line: the view then shows the new session whole.
    ASSERT_TRUE(lumox.clickLine(headerList, 0));
    for (int i = 0; i < 20; ++i)
        pressKey(lumox.display(), "j");
    // The visible lines from the first session header on: the new session's
    // header and its 8 lines once the old session has scrolled away.
    auto newSession = [](const Lines& l) {
        int at = lineOf(l, "Zentrix: Analyzing");
        return at < 0 ? Lines() : Lines(l.begin() + at + 1, l.end());
    };
    ASSERT_TRUE(lumox.waitForContent(headerList, [&](const Lines& l) { return newSession(l).size() == 9; }));
    Lines fresh = newSession(lumox.content(headerList));
    EXPECT_EQ(countLines(fresh, "EffC++11"), 0);
    EXPECT_EQ(countLines(fresh, "EffC++12"), 2);
}

TEST(StaticAnalysis, aReportWithAStaticAnalysisSessionSavesAndLoadsBack)
{
    Project p;
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"HOME=" + p.home}));
    ASSERT_TRUE(analyse(lumox, p, {"-Zoi", "suppress item 14"}));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "EffC++") >= 4; }, 10000));
    EXPECT_EQ(countLines(lumox.content(headerList), "EffC++14"), 0) << "the command line suppresses item 14";

    std::string report = p.dir + "/session.rpt";
    ASSERT_TRUE(lumox.saveReportAs(report));
    Child rpt;
    ASSERT_TRUE(rpt.start({buildPath("bin/lumox-rpt"), "list", report}, {"HOME=" + p.home}));
    ASSERT_EQ(rpt.wait(10000), 0) << rpt.err();
    EXPECT_NE(rpt.out().find("Zentrix: Analyzing \"shapes.cc\""), std::string::npos) << rpt.out();
    EXPECT_NE(rpt.out().find("EffC++11"), std::string::npos);

    ASSERT_TRUE(lumox.loadReport(report));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "Zentrix: Analyzing") == 2; }));
    Lines lines = lumox.content(headerList);
    EXPECT_EQ(countLines(lines, "EffC++11"), 2);
    EXPECT_EQ(countLines(lines, "EffC++14"), 0) << "the saved command line still suppresses item 14";
}
