#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace lumox_test {

// One widget as the running program reported it (LUMOX_WIDGET_DUMP).
struct WidgetInfo {
    std::string path;   // full name path, such as lumox.Lumox.aWindow....exitBtn_button
    std::string cls;    // widget class name
    int x = 0, y = 0, width = 0, height = 0;  // root coordinates
    bool managed = false, sensitive = false, viewable = false;
    std::string label;
    // What a self-drawn pane shows, one entry per visible line (header list:
    // "> icon text" with '>' on the selected line; body: "~ text" for traces).
    std::vector<std::string> content;
    int centerX() const { return x + width / 2; }
    int centerY() const { return y + height / 2; }
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
    std::string binDir() const { return buildPath("bin"); }

    // Asks the program for its widget tree; the widgets whose path ends in
    // `suffix` (a name, or a dotted tail of names).
    std::vector<WidgetInfo> widgets(const std::string& suffix = "");
    // The one viewable widget whose path ends in `suffix`; false when none.
    bool widget(const std::string& suffix, WidgetInfo& out);
    bool clickWidget(const std::string& suffix);
    // The lines a self-drawn pane shows now.
    std::vector<std::string> content(const std::string& suffix);
    // Waits until `pred` holds for the pane's lines.
    bool waitForContent(const std::string& suffix, const std::function<bool(const std::vector<std::string>&)>& pred,
                        int timeoutMs = 5000);
    // Waits until the widget ending in `suffix` shows `label`.
    bool waitForLabel(const std::string& suffix, const std::string& label, int timeoutMs = 5000);
    std::string label(const std::string& suffix);

    bool screenshot(const std::string& name);

private:
    std::unique_ptr<XvfbServer> _xvfb;
    Display* _display;
    Child _lumox;
    int _port;
    std::string _dumpPath;
};

}  // namespace lumox_test
