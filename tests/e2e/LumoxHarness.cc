#include "tests/e2e/LumoxHarness.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/XTestInput.h"

namespace lumox_test {

static long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool pollUntil(const std::function<bool()>& done, int timeoutMs, int stepMs)
{
    long deadline = nowMs() + timeoutMs;
    while (!done()) {
        if (nowMs() > deadline)
            return false;
        usleep(stepMs * 1000);
    }
    return true;
}

LumoxHarness::LumoxHarness() : _xvfb(new XvfbServer("1280x900x24")), _display(nullptr), _port(0)
{
    if (_xvfb->ok())
        _display = XOpenDisplay(_xvfb->display().c_str());
}

LumoxHarness::~LumoxHarness()
{
    if (_lumox.running()) {
        _lumox.kill(SIGTERM);
        if (_lumox.wait(3000) < 0) {
            _lumox.kill(SIGKILL);
            _lumox.wait(3000);
        }
    }
    if (_display)
        XCloseDisplay(_display);
}

bool LumoxHarness::start(const std::vector<std::string>& env, const std::vector<std::string>& args, int port,
                         bool waitForWindow)
{
    if (!_display)
        return false;
    _port = port ? port : findFreePorts(10);
    static int counter = 0;
    _dumpPath = scratchDir("widget-dumps") + "/" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    std::vector<std::string> e = {"DISPLAY=" + _xvfb->display(), "LUMOX_PORT=" + std::to_string(_port),
                                  "LUMOX_WIDGET_DUMP=" + _dumpPath, "QUENTAR=" + buildPath("home")};
    e.insert(e.end(), env.begin(), env.end());
    std::vector<std::string> a = {buildPath("bin/lumox")};
    a.insert(a.end(), args.begin(), args.end());
    if (!_lumox.start(a, e))
        return false;
    return !waitForWindow || findWindow(_display, "Lumox", 15000) != 0;
}

static bool parseLine(const std::string& line, WidgetInfo& w)
{
    std::istringstream in(line);
    std::string flags;
    if (!(in >> w.path >> w.cls >> w.x >> w.y >> w.width >> w.height >> flags))
        return false;
    w.managed = flags.size() > 0 && flags[0] == 'm';
    w.sensitive = flags.size() > 1 && flags[1] == 's';
    w.viewable = flags.size() > 2 && flags[2] == 'v';
    std::getline(in, w.label);
    if (!w.label.empty() && w.label[0] == ' ')
        w.label.erase(0, 1);
    return true;
}

static bool endsWith(const std::string& path, const std::string& suffix)
{
    if (suffix.empty())
        return true;
    if (path.size() < suffix.size() || path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    return path.size() == suffix.size() || path[path.size() - suffix.size() - 1] == '.';
}

std::vector<WidgetInfo> LumoxHarness::widgets(const std::string& suffix)
{
    std::vector<WidgetInfo> out;
    if (!_lumox.running())
        return out;
    unlink(_dumpPath.c_str());
    _lumox.kill(SIGUSR1);
    struct stat st;
    if (!pollUntil([&] { return stat(_dumpPath.c_str(), &st) == 0; }, 5000, 10))
        return out;
    std::istringstream in(readFile(_dumpPath));
    std::string line;
    bool keep = false;
    while (std::getline(in, line)) {
        if (line.compare(0, 2, "| ") == 0) {
            if (keep)
                out.back().content.push_back(line.substr(2));
            continue;
        }
        WidgetInfo w;
        keep = parseLine(line, w) && endsWith(w.path, suffix);
        if (keep)
            out.push_back(w);
    }
    return out;
}

bool LumoxHarness::widget(const std::string& suffix, WidgetInfo& out)
{
    for (const WidgetInfo& w : widgets(suffix))
        if (w.viewable || w.cls.find("Gadget") != std::string::npos) {
            out = w;
            return true;
        }
    return false;
}

bool LumoxHarness::clickWidget(const std::string& suffix)
{
    WidgetInfo w;
    if (!widget(suffix, w))
        return false;
    click(_display, w.centerX(), w.centerY());
    return true;
}

std::vector<std::string> LumoxHarness::content(const std::string& suffix)
{
    WidgetInfo w;
    return widget(suffix, w) ? w.content : std::vector<std::string>();
}

bool LumoxHarness::waitForContent(const std::string& suffix,
                                  const std::function<bool(const std::vector<std::string>&)>& pred, int timeoutMs)
{
    return pollUntil([&] { return pred(content(suffix)); }, timeoutMs);
}

bool LumoxHarness::clickLine(const std::string& pane, int index, bool twice)
{
    WidgetInfo w;
    if (!widget(pane, w) || w.content.empty() || index < 0)
        return false;
    // The view line ends in the cell size: "... cell W H".
    int vp = atoi(w.content[0].c_str() + w.content[0].rfind(' ') + 1);
    int x = w.x + 60, y = w.y + index * vp + vp / 2;
    click(_display, x, y);
    if (twice) {
        sleepMs(600);  // the click selects; only then does a double click open
        doubleClick(_display, x, y);
    }
    return true;
}

bool LumoxHarness::selectLine(const std::string& text)
{
    return clickLine(headerList, lineOf(content(headerList), text)) &&
           waitForContent(headerList, [&](const std::vector<std::string>& l) { return selectedHas(l, text); });
}

bool LumoxHarness::openLine(const std::string& text)
{
    return clickLine(headerList, lineOf(content(headerList), text), true);
}

std::string LumoxHarness::label(const std::string& suffix)
{
    WidgetInfo w;
    return widget(suffix, w) ? w.label : std::string();
}

bool LumoxHarness::waitForLabel(const std::string& suffix, const std::string& text, int timeoutMs)
{
    return pollUntil([&] { return label(suffix) == text; }, timeoutMs);
}

static std::string countLabel(const char* what, int n)
{
    if (n == 0)
        return std::string(" ") + what + ": None ";
    char text[64];
    snprintf(text, sizeof text, " %s: %-4d ", what, n);
    return text;
}

bool LumoxHarness::waitForMessages(int n, int timeoutMs)
{
    return waitForLabel("msgLbl", countLabel("Messages", n), timeoutMs);
}

bool LumoxHarness::waitForConnections(int n, int timeoutMs)
{
    return waitForLabel("conLbl", countLabel("Connections", n), timeoutMs);
}

bool LumoxHarness::waitForWidget(const std::string& suffix, WidgetInfo& out, int timeoutMs)
{
    return pollUntil([&] { return widget(suffix, out) && out.viewable; }, timeoutMs);
}

bool LumoxHarness::chooseMenu(const std::string& menu, const std::string& item, const std::string& label)
{
    WidgetInfo first;
    if (!clickWidget("menu." + menu) || !waitForWidget(menu + "." + item, first))
        return false;
    // Entries may share a name (File holds two saveBtn): the label tells them apart.
    for (const WidgetInfo& w : widgets(menu + "." + item))
        if (w.viewable && (label.empty() || w.label == label)) {
            click(_display, w.centerX(), w.centerY());
            return true;
        }
    return false;
}

bool LumoxHarness::answerDialog(const std::string& field, const std::string& text)
{
    WidgetInfo w;
    if (!waitForWidget(field, w))
        return false;
    multiClick(_display, w.centerX(), w.centerY(), 3);
    typeText(_display, text);
    pressKey(_display, "Return");
    return true;
}

bool LumoxHarness::saveReportAs(const std::string& path)
{
    return chooseMenu("file", "saveBtn", "SaveAs...") && answerDialog("fileSelection.Text", path) &&
           waitForLabel(statusText, "Saving error report ... Done");
}

bool LumoxHarness::loadReport(const std::string& path)
{
    if (!clickLine(headerList, 0))
        return false;
    pressKey(_display, "l", "Meta_L");
    return answerDialog("fileSelection.Text", path) && waitForLabel(statusText, "Loading error report ... Done");
}

bool LumoxHarness::sender(Child& client, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {buildPath("bin/lumox-send")};
    argv.insert(argv.end(), args.begin(), args.end());
    return client.start(argv, {"LUMOX_PORT=" + std::to_string(_port)});
}

bool LumoxHarness::send(Child& client, const std::string& program, const std::string& script, bool stay)
{
    static int counter = 0;
    std::string file = scratchDir("messages") + "/" + program + "-" + std::to_string(getpid()) + "-" +
                       std::to_string(++counter) + ".txt";
    writeFile(file, script);
    std::vector<std::string> args = {"--quiet", "--program", program, file};
    if (stay)
        args.push_back("--wait");
    return sender(client, args);
}

bool LumoxHarness::sendAndFinish(const std::string& program, const std::string& script)
{
    Child c;
    return send(c, program, script) && c.wait(10000) == 0;
}

int lineOf(const std::vector<std::string>& lines, const std::string& text)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return static_cast<int>(i) - 1;
    return -1;
}

int countLines(const std::vector<std::string>& lines, const std::string& text)
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }));
}

bool selectedHas(const std::vector<std::string>& lines, const std::string& text)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].rfind("> ", 0) == 0)
            return lines[i].find(text) != std::string::npos;
    return false;
}

std::string message(const std::string& category, const std::string& where, const std::string& extra)
{
    return "category: " + category + "\nfile: " + where + "\nbody: " + category + " found here\n" + extra + "---\n";
}

EditorScript::EditorScript()
{
    static int counter = 0;
    dir = scratchDir("editor-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    log = dir + "/editor.log";
    path = dir + "/editor.sh";
    writeFile(path, "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
    chmod(path.c_str(), 0755);
    unlink(log.c_str());
}

std::string EditorScript::waitForLog(size_t lines)
{
    pollUntil([&] {
        std::string text = readFile(log);
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= lines;
    }, 5000);
    return readFile(log);
}

bool LumoxHarness::screenshot(const std::string& name)
{
    return lumox_test::screenshot(_xvfb->display(), scratchDir("screenshots") + "/" + name + ".png");
}

}  // namespace lumox_test
