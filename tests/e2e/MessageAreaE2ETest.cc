#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

using Lines = std::vector<std::string>;

bool anyHas(const Lines& lines, const std::string& text) { return lineOf(lines, text) >= 0; }

}  // namespace

TEST(MessageArea, linesAppearAsClientsSendWithTheirIcons)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(lumox.sendAndFinish("alpha", message("READ_OVERFLOW", "src/a.c:3") + message("LEAK_SCOPE", "src/b.c:9") +
                                                 message("SIGNAL_trapped", "src/c.c:1") +
                                                 message("EXIT_summary", "unknown")));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return l.size() >= 7; }));
    Lines lines = lumox.content(headerList);
    EXPECT_NE(lines[1].find("(0) Trashcan"), std::string::npos);
    EXPECT_NE(lines[2].find("Runtime: Executing \"alpha\""), std::string::npos);
    EXPECT_EQ(lines[3].substr(0, 8), "  bug   ");
    EXPECT_NE(lines[3].find("READ_OVERFLOW"), std::string::npos);
    EXPECT_NE(lines[3].find("a.c : 3"), std::string::npos);
    EXPECT_EQ(lines[4].substr(0, 7), "  leak ");
    EXPECT_EQ(lines[5].substr(0, 9), "  signal ");
    EXPECT_EQ(lines[6].substr(0, 10), "  summary ");
    EXPECT_TRUE(lumox.waitForMessages(4));
}

TEST(MessageArea, keysMoveTheSelectionAndTheBodyFollows)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(lumox.sendAndFinish("keys", message("FIRST_ERR", "src/a.c:3", "trace: src/a.c:3   first_caller()\n") +
                                                message("SECOND_ERR", "src/b.c:4", "trace: src/b.c:4   second()\n")));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return l.size() >= 5; }));
    ASSERT_TRUE(lumox.selectLine("FIRST_ERR"));
    ASSERT_TRUE(lumox.waitForContent(bodyPane, [](const Lines& l) { return anyHas(l, "FIRST_ERR found here"); }));
    Lines b = lumox.content(bodyPane);
    EXPECT_TRUE(anyHas(b, "Runtime: Executing \"keys\""));
    // The trace line shows its text, then where the frame is.
    EXPECT_TRUE(anyHas(b, "~   first_caller()  src/a.c:3"));

    auto selected = [&](const std::string& text) {
        return lumox.waitForContent(headerList, [&](const Lines& l) { return selectedHas(l, text); });
    };
    pressKey(lumox.display(), "j");
    EXPECT_TRUE(selected("SECOND_ERR"));
    EXPECT_TRUE(lumox.waitForContent(bodyPane, [](const Lines& l) { return anyHas(l, "SECOND_ERR found here"); }));
    pressKey(lumox.display(), "k");
    EXPECT_TRUE(selected("FIRST_ERR"));
    pressKey(lumox.display(), "Down");
    EXPECT_TRUE(selected("SECOND_ERR"));
    pressKey(lumox.display(), "Up");
    pressKey(lumox.display(), "Up");
    EXPECT_TRUE(selected("Executing \"keys\""));
    lumox.screenshot("message-with-trace");
}

TEST(MessageArea, deleteRemovesMessagesAndFinishedClientsButNotActiveOnes)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    Child live;
    ASSERT_TRUE(lumox.send(live, "live", message("LIVE_ERR", "src/l.c:1"), true));
    ASSERT_TRUE(lumox.sendAndFinish("done", message("GONE_ERR", "src/g.c:2") + message("KEPT_ERR", "src/k.c:3")));
    ASSERT_TRUE(lumox.waitForMessages(3));

    ASSERT_TRUE(lumox.selectLine("GONE_ERR"));
    pressKey(lumox.display(), "Delete");
    EXPECT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return !anyHas(l, "GONE_ERR"); }));
    EXPECT_TRUE(lumox.waitForMessages(2));

    ASSERT_TRUE(lumox.selectLine("Executing \"live\""));
    pressKey(lumox.display(), "Delete");
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Cannot delete active sessions!"));
    EXPECT_TRUE(anyHas(lumox.content(headerList), "LIVE_ERR"));

    ASSERT_TRUE(lumox.selectLine("Executing \"done\""));
    pressKey(lumox.display(), "BackSpace");
    EXPECT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return !anyHas(l, "\"done\""); }));
    EXPECT_FALSE(anyHas(lumox.content(headerList), "KEPT_ERR"));
    EXPECT_TRUE(lumox.waitForMessages(1));
    live.kill();
}

TEST(MessageArea, aReportSavedThroughTheDialogLoadsBackAsNewClients)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(lumox.sendAndFinish("saver", message("SAVED_ONE", "src/s.c:1") + message("SAVED_TWO", "src/s.c:2")));
    ASSERT_TRUE(lumox.waitForMessages(2));
    std::string report = scratchDir("reports") + "/saved-" + std::to_string(getpid()) + ".rpt";
    unlink(report.c_str());

    ASSERT_TRUE(lumox.chooseMenu("file", "saveBtn", "SaveAs..."));
    WidgetInfo text;
    ASSERT_TRUE(lumox.waitForWidget("fileSelection.Text", text)) << "no file dialog";
    lumox.screenshot("save-dialog");
    ASSERT_TRUE(lumox.answerDialog("fileSelection.Text", report));
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Saving error report ... Done"));

    Child rpt;
    ASSERT_TRUE(rpt.start({buildPath("bin/lumox-rpt"), "list", report}));
    ASSERT_EQ(rpt.wait(10000), 0) << rpt.err();
    for (const char* text : {"Executing \"saver\"", "SAVED_ONE", "SAVED_TWO"})
        EXPECT_NE(rpt.out().find(text), std::string::npos) << text;

    ASSERT_TRUE(lumox.loadReport(report));
    EXPECT_TRUE(lumox.waitForMessages(4));
    EXPECT_EQ(countLines(lumox.content(headerList), "Executing \"saver\""), 2);
}

TEST(MessageArea, doubleClicksOpenTheMessageAndTraceLinesInTheEditor)
{
    EditorScript editor;
    std::string src = editor.dir + "/src";
    mkdir(src.c_str(), 0755);
    writeFile(src + "/buf.c", "int main() { return 0; }\n");
    writeFile(src + "/main.c", "int main();\n");

    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL=" + editor.path + " +%l %f"}));
    ASSERT_TRUE(lumox.sendAndFinish("edit", message("ABW", src + "/buf.c:42", "trace: " + src + "/main.c:7   main()\n")));
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return anyHas(l, "ABW"); }));
    ASSERT_TRUE(lumox.openLine("ABW"));
    EXPECT_EQ(editor.waitForLog(1), "+42 " + src + "/buf.c\n");

    ASSERT_TRUE(lumox.clickLine(bodyPane, lineOf(lumox.content(bodyPane), "~   main()  " + src + "/main.c:7"), true));
    EXPECT_EQ(editor.waitForLog(2), "+42 " + src + "/buf.c\n+7 " + src + "/main.c\n");
}

TEST(MessageArea, exitIsRefusedWhileAClientIsConnectedAndWorksAfterItLeaves)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    Child live;
    ASSERT_TRUE(lumox.send(live, "stays", message("STAY", "src/x.c:1"), true));
    ASSERT_TRUE(lumox.waitForConnections(1));
    ASSERT_TRUE(lumox.clickWidget(exitButton));
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Cannot exit: there are active clients!"));
    EXPECT_TRUE(lumox.process().running());
    live.kill();
    ASSERT_EQ(live.wait(5000), 0);
    ASSERT_TRUE(lumox.waitForConnections(0));
    ASSERT_TRUE(lumox.clickWidget(exitButton));
    EXPECT_EQ(lumox.process().wait(10000), 0);
}
