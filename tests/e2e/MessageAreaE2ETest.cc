#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

const char* headers = "msgArea.MessageHeaders.MessageHeaders";
const char* body = "msgArea.MessageBody.MessageBody";
const char* statusText = "statusbar_work.messageArea";

// Sends the messages of `text` (lumox-send's format) as program `program`;
// with `wait` the client stays connected until it is stopped.
bool send(LumoxHarness& lumox, Child& client, const std::string& program, const std::string& text, bool wait = false)
{
    std::string file = scratchDir("messages") + "/" + program + "-" + std::to_string(getpid()) + ".txt";
    writeFile(file, text);
    std::vector<std::string> args = {buildPath("bin/lumox-send"), "--quiet", "--program", program, file};
    if (wait)
        args.push_back("--wait");
    return client.start(args, {"LUMOX_PORT=" + std::to_string(lumox.port())});
}

bool sendAndFinish(LumoxHarness& lumox, const std::string& program, const std::string& text)
{
    Child c;
    return send(lumox, c, program, text) && c.wait(10000) == 0;
}

std::string message(const std::string& category, const std::string& where, const std::string& extra = "")
{
    return "category: " + category + "\nfile: " + where + "\nbody: " + category + " found here\n" + extra + "---\n";
}

// The index of the first line holding `text`, or -1.
int lineOf(const std::vector<std::string>& lines, const std::string& text)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return static_cast<int>(i) - 1;
    return -1;
}

// Cell height of a pane, from its "| view ... cell W H" line.
int cellHeight(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return 0;
    size_t at = lines[0].rfind(' ');
    return atoi(lines[0].c_str() + at + 1);
}

// Clicks (or double-clicks) the visible line `index` of a pane.
bool clickLine(LumoxHarness& lumox, const char* pane, int index, bool twice = false)
{
    WidgetInfo w;
    if (!lumox.widget(pane, w) || w.content.empty())
        return false;
    int vp = cellHeight(w.content);
    int x = w.x + 60, y = w.y + index * vp + vp / 2;
    if (twice) {
        click(lumox.display(), x, y);
        sleepMs(600);  // first a click that selects, then a double click
        doubleClick(lumox.display(), x, y);
    } else {
        click(lumox.display(), x, y);
    }
    return true;
}

bool selectedHas(const std::vector<std::string>& lines, const std::string& text)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].rfind("> ", 0) == 0)
            return lines[i].find(text) != std::string::npos;
    return false;
}

// Replaces the text of a text field by `text`, as a user would: a triple
// click selects it all and typing replaces the selection.
void replaceText(LumoxHarness& lumox, const WidgetInfo& field, const std::string& text)
{
    multiClick(lumox.display(), field.centerX(), field.centerY(), 3);
    typeText(lumox.display(), text);
}

bool anyHas(const std::vector<std::string>& lines, const std::string& text) { return lineOf(lines, text) >= 0; }

}  // namespace

TEST(MessageArea, linesAppearAsClientsSendWithTheirIcons)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(sendAndFinish(lumox, "alpha",
                              message("READ_OVERFLOW", "src/a.c:3") + message("LEAK_SCOPE", "src/b.c:9") +
                                  message("SIGNAL_trapped", "src/c.c:1") + message("EXIT_summary", "unknown")));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const std::vector<std::string>& l) { return l.size() >= 7; }));
    std::vector<std::string> lines = lumox.content(headers);
    EXPECT_NE(lines[1].find("(0) Trashcan"), std::string::npos);
    EXPECT_NE(lines[2].find("Runtime: Executing \"alpha\""), std::string::npos);
    EXPECT_EQ(lines[3].substr(0, 8), "  bug   ");
    EXPECT_NE(lines[3].find("READ_OVERFLOW"), std::string::npos);
    EXPECT_NE(lines[3].find("a.c : 3"), std::string::npos);
    EXPECT_EQ(lines[4].substr(0, 7), "  leak ");
    EXPECT_EQ(lines[5].substr(0, 9), "  signal ");
    EXPECT_EQ(lines[6].substr(0, 10), "  summary ");
    EXPECT_TRUE(lumox.waitForLabel("msgLbl", " Messages: 4    "));
}

TEST(MessageArea, keysMoveTheSelectionAndTheBodyFollows)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(sendAndFinish(lumox, "keys",
                              message("FIRST_ERR", "src/a.c:3", "trace: src/a.c:3   first_caller()\n") +
                                  message("SECOND_ERR", "src/b.c:4", "trace: src/b.c:4   second_caller()\n")));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const std::vector<std::string>& l) { return l.size() >= 5; }));
    int first = lineOf(lumox.content(headers), "FIRST_ERR");
    ASSERT_TRUE(clickLine(lumox, headers, first));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "FIRST_ERR"); }));
    ASSERT_TRUE(lumox.waitForContent(body, [](const auto& l) { return anyHas(l, "FIRST_ERR found here"); }));
    std::vector<std::string> b = lumox.content(body);
    EXPECT_TRUE(anyHas(b, "Runtime: Executing \"keys\""));
    // The trace line shows without its file-and-line prefix.
    EXPECT_TRUE(anyHas(b, "~   first_caller()"));

    pressKey(lumox.display(), "j");
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "SECOND_ERR"); }));
    EXPECT_TRUE(lumox.waitForContent(body, [](const auto& l) { return anyHas(l, "SECOND_ERR found here"); }));
    pressKey(lumox.display(), "k");
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "FIRST_ERR"); }));
    pressKey(lumox.display(), "Down");
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "SECOND_ERR"); }));
    pressKey(lumox.display(), "Up");
    pressKey(lumox.display(), "Up");
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "Executing \"keys\""); }));
    lumox.screenshot("message-with-trace");
}

TEST(MessageArea, deleteRemovesMessagesAndFinishedClientsButNotActiveOnes)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    Child live;
    ASSERT_TRUE(send(lumox, live, "live", message("LIVE_ERR", "src/l.c:1"), true));
    ASSERT_TRUE(sendAndFinish(lumox, "done", message("GONE_ERR", "src/g.c:2") + message("KEPT_ERR", "src/k.c:3")));
    ASSERT_TRUE(lumox.waitForLabel("msgLbl", " Messages: 3    "));

    int gone = lineOf(lumox.content(headers), "GONE_ERR");
    ASSERT_TRUE(clickLine(lumox, headers, gone));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "GONE_ERR"); }));
    pressKey(lumox.display(), "Delete");
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return !anyHas(l, "GONE_ERR"); }));
    EXPECT_TRUE(lumox.waitForLabel("msgLbl", " Messages: 2    "));

    int active = lineOf(lumox.content(headers), "Executing \"live\"");
    ASSERT_TRUE(clickLine(lumox, headers, active));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "\"live\""); }));
    pressKey(lumox.display(), "Delete");
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Cannot delete active sessions!"));
    EXPECT_TRUE(anyHas(lumox.content(headers), "LIVE_ERR"));

    int finished = lineOf(lumox.content(headers), "Executing \"done\"");
    ASSERT_TRUE(clickLine(lumox, headers, finished));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return selectedHas(l, "\"done\""); }));
    pressKey(lumox.display(), "BackSpace");
    EXPECT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return !anyHas(l, "\"done\""); }));
    EXPECT_FALSE(anyHas(lumox.content(headers), "KEPT_ERR"));
    EXPECT_TRUE(lumox.waitForLabel("msgLbl", " Messages: 1    "));
    live.kill();
}

TEST(MessageArea, aReportSavedThroughTheDialogLoadsBackAsNewClients)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    ASSERT_TRUE(sendAndFinish(lumox, "saver", message("SAVED_ONE", "src/s.c:1") + message("SAVED_TWO", "src/s.c:2")));
    ASSERT_TRUE(lumox.waitForLabel("msgLbl", " Messages: 2    "));
    std::string report = scratchDir("reports") + "/saved-" + std::to_string(getpid()) + ".rpt";
    unlink(report.c_str());

    ASSERT_TRUE(lumox.clickWidget("menu.file"));
    WidgetInfo item;
    for (int i = 0; i < 50 && !lumox.widget("file.saveBtn", item); ++i)
        sleepMs(50);
    // File holds two entries named saveBtn: Save and SaveAs...
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
    ASSERT_TRUE(text.viewable) << "no file dialog";
    lumox.screenshot("save-dialog");
    replaceText(lumox, text, report);
    pressKey(lumox.display(), "Return");
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Saving error report ... Done"));

    Child rpt;
    ASSERT_TRUE(rpt.start({buildPath("bin/lumox-rpt"), "list", report}));
    ASSERT_EQ(rpt.wait(10000), 0) << rpt.err();
    EXPECT_NE(rpt.out().find("Executing \"saver\""), std::string::npos);
    EXPECT_NE(rpt.out().find("SAVED_ONE"), std::string::npos);
    EXPECT_NE(rpt.out().find("SAVED_TWO"), std::string::npos);

    // Meta-l in the header list loads; the dialog asks for the file.
    ASSERT_TRUE(clickLine(lumox, headers, 0));
    pressKey(lumox.display(), "l", "Meta_L");
    for (int i = 0; i < 100 && !lumox.widget("fileSelection.Text", text); ++i)
        sleepMs(50);
    ASSERT_TRUE(text.viewable) << "no load dialog";
    replaceText(lumox, text, report);
    pressKey(lumox.display(), "Return");
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Loading error report ... Done"));
    EXPECT_TRUE(lumox.waitForLabel("msgLbl", " Messages: 4    "));
    std::vector<std::string> lines = lumox.content(headers);
    int clients = 0;
    for (const std::string& l : lines)
        clients += l.find("Executing \"saver\"") != std::string::npos;
    EXPECT_EQ(clients, 2);
}

TEST(MessageArea, doubleClicksOpenTheMessageAndTraceLinesInTheEditor)
{
    std::string dir = scratchDir("editor-" + std::to_string(getpid()));
    mkdir((dir + "/src").c_str(), 0755);
    writeFile(dir + "/src/buf.c", "int main() { return 0; }\n");
    writeFile(dir + "/src/main.c", "int main();\n");
    std::string log = dir + "/editor.log";
    std::string editor = dir + "/editor.sh";
    writeFile(editor, "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
    chmod(editor.c_str(), 0755);

    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_VISUAL=" + editor + " +%l %f"}));
    ASSERT_TRUE(sendAndFinish(lumox, "edit",
                              message("ABW", dir + "/src/buf.c:42", "trace: " + dir + "/src/main.c:7   main()\n")));
    ASSERT_TRUE(lumox.waitForContent(headers, [](const auto& l) { return anyHas(l, "ABW"); }));
    ASSERT_TRUE(clickLine(lumox, headers, lineOf(lumox.content(headers), "ABW"), true));
    for (int i = 0; i < 100 && readFile(log).empty(); ++i)
        sleepMs(50);
    EXPECT_EQ(readFile(log), "+42 " + dir + "/src/buf.c\n");

    int trace = lineOf(lumox.content(body), "~   main()");
    ASSERT_GE(trace, 0);
    ASSERT_TRUE(clickLine(lumox, body, trace, true));
    auto lines = [&] {
        std::string text = readFile(log);
        return std::count(text.begin(), text.end(), '\n');
    };
    for (int i = 0; i < 100 && lines() < 2; ++i)
        sleepMs(50);
    EXPECT_EQ(readFile(log), "+42 " + dir + "/src/buf.c\n+7 " + dir + "/src/main.c\n");
}

TEST(MessageArea, exitIsRefusedWhileAClientIsConnectedAndWorksAfterItLeaves)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    Child live;
    ASSERT_TRUE(send(lumox, live, "stays", message("STAY", "src/x.c:1"), true));
    ASSERT_TRUE(lumox.waitForLabel("conLbl", " Connections: 1    "));
    ASSERT_TRUE(lumox.clickWidget("helpGroup_work.exitBtn.exitBtn_button"));
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Cannot exit: there are active clients!"));
    EXPECT_TRUE(lumox.process().running());
    live.kill();
    ASSERT_EQ(live.wait(5000), 0);
    ASSERT_TRUE(lumox.waitForLabel("conLbl", " Connections: None "));
    ASSERT_TRUE(lumox.clickWidget("helpGroup_work.exitBtn.exitBtn_button"));
    EXPECT_EQ(lumox.process().wait(10000), 0);
}
