#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace lumox_test {

// Widget path tails of the panes the tests read and drive.
const char* const headerList = "msgArea.MessageHeaders.MessageHeaders";
const char* const bodyPane = "msgArea.MessageBody.MessageBody";
const char* const statusText = "statusbar_work.messageArea";
const char* const exitButton = "helpGroup_work.exitBtn.exitBtn_button";

// One widget as the running program reported it (LUMOX_WIDGET_DUMP).
struct WidgetInfo {
    std::string path;   // full name path, such as lumox.Lumox.aWindow....exitBtn_button
    std::string cls;    // widget class name
    int x = 0, y = 0, width = 0, height = 0;  // root coordinates
    bool managed = false, sensitive = false, viewable = false;
    std::string label;
    // What a self-drawn pane shows: first a "view ... cell W H" line, then one
    // entry per visible line (header list: "> icon text" with '>' on the
    // selected line; body: "~ text" for traces).
    std::vector<std::string> content;
    int centerX() const { return x + width / 2; }
    int centerY() const { return y + height / 2; }
};

// Asks `done` every `stepMs` until it holds or `timeoutMs` pass; its last answer.
bool pollUntil(const std::function<bool()>& done, int timeoutMs = 5000, int stepMs = 50);

// Reading a pane's lines (as content() gives them, the view line first).
// The index among the visible lines of the first one holding `text`, or -1.
int lineOf(const std::vector<std::string>& lines, const std::string& text);
// How many lines hold `text` (the view line holds no message text).
int countLines(const std::vector<std::string>& lines, const std::string& text);
// Whether the selected line holds `text`.
bool selectedHas(const std::vector<std::string>& lines, const std::string& text);

// One message in lumox-send's script format; `extra` adds lines such as
// "trace: ...".
std::string message(const std::string& category, const std::string& where, const std::string& extra = "");

// A stand-in editor: a script that appends its arguments as one line to a log.
struct EditorScript {
    EditorScript();
    // The log once it has `lines` lines (or what it holds after 5 s).
    std::string waitForLog(size_t lines);
    std::string dir, log, path;
};

// The real lumox binary on a private Xvfb with its own port range, and the
// means to look at it and drive it as a user would.
class LumoxHarness {
public:
    LumoxHarness();
    ~LumoxHarness();

    // Starts lumox with LUMOX_PORT at a free range (or `port` when not 0) and
    // extra "NAME=value" environment entries; waits for the main window
    // unless told not to.
    bool start(const std::vector<std::string>& env = {}, const std::vector<std::string>& args = {}, int port = 0,
               bool waitForWindow = true);
    bool ok() const { return _xvfb && _xvfb->ok(); }

    Child& process() { return _lumox; }
    Display* display() const { return _display; }
    const std::string& displayName() const { return _xvfb->display(); }
    int port() const { return _port; }

    // Starts lumox-send with `args` against this collector.
    bool sender(Child& client, const std::vector<std::string>& args);
    // Sends `script` (lumox-send's format) as program `program`; with `stay`
    // the client stays connected until it is stopped.
    bool send(Child& client, const std::string& program, const std::string& script, bool stay = false);
    // The same, waiting for the client to finish successfully.
    bool sendAndFinish(const std::string& program, const std::string& script);

    // Asks the program for its widget tree; the widgets whose path ends in
    // `suffix` (a name, or a dotted tail of names).
    std::vector<WidgetInfo> widgets(const std::string& suffix = "");
    // The one viewable widget whose path ends in `suffix`; false when none.
    bool widget(const std::string& suffix, WidgetInfo& out);
    // Waits until such a widget is viewable.
    bool waitForWidget(const std::string& suffix, WidgetInfo& out, int timeoutMs = 5000);
    bool clickWidget(const std::string& suffix);
    // Opens the menu bar's `menu` and clicks its viewable entry ending in
    // `item` (and showing `label`, when given).
    bool chooseMenu(const std::string& menu, const std::string& item, const std::string& label = "");

    // The lines a self-drawn pane shows now.
    std::vector<std::string> content(const std::string& suffix);
    // Waits until `pred` holds for the pane's lines.
    bool waitForContent(const std::string& suffix, const std::function<bool(const std::vector<std::string>&)>& pred,
                        int timeoutMs = 5000);
    // Clicks the visible line `index` of a pane; `twice` first selects it
    // with a click, then double-clicks it.
    bool clickLine(const std::string& pane, int index, bool twice = false);
    // Clicks the header-list line holding `text` and waits until it is selected.
    bool selectLine(const std::string& text);
    // Double-clicks the header-list line holding `text` (after a click that
    // selects it).
    bool openLine(const std::string& text);

    // Waits until the widget ending in `suffix` shows `label`.
    bool waitForLabel(const std::string& suffix, const std::string& label, int timeoutMs = 5000);
    std::string label(const std::string& suffix);
    // Waits until the status bar counts `n` shown messages or connections.
    bool waitForMessages(int n, int timeoutMs = 5000);
    bool waitForConnections(int n, int timeoutMs = 5000);

    // Answers the dialog whose text field ends in `field` as a user would:
    // a triple click selects its text, typing replaces it, Return.
    bool answerDialog(const std::string& field, const std::string& text);
    // File -> SaveAs... and Meta-l in the header list, through the file
    // dialog; true once the status bar says it is done.
    bool saveReportAs(const std::string& path);
    bool loadReport(const std::string& path);

    bool screenshot(const std::string& name);

private:
    std::unique_ptr<XvfbServer> _xvfb;
    Display* _display;
    Child _lumox;
    int _port;
    std::string _dumpPath;
};

}  // namespace lumox_test
