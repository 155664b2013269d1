#include "tests/e2e/LumoxHarness.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>

#include "tests/support/XTestInput.h"

namespace lumox_test {

static long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
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
    long deadline = nowMs() + 5000;
    struct stat st;
    while (stat(_dumpPath.c_str(), &st) != 0) {
        if (nowMs() > deadline)
            return out;
        usleep(10000);
    }
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
    long deadline = nowMs() + timeoutMs;
    while (!pred(content(suffix))) {
        if (nowMs() > deadline)
            return false;
        usleep(50000);
    }
    return true;
}

std::string LumoxHarness::label(const std::string& suffix)
{
    WidgetInfo w;
    return widget(suffix, w) ? w.label : std::string();
}

bool LumoxHarness::waitForLabel(const std::string& suffix, const std::string& text, int timeoutMs)
{
    long deadline = nowMs() + timeoutMs;
    while (label(suffix) != text) {
        if (nowMs() > deadline)
            return false;
        usleep(50000);
    }
    return true;
}

bool LumoxHarness::screenshot(const std::string& name)
{
    return lumox_test::screenshot(_xvfb->display(), scratchDir("screenshots") + "/" + name + ".png");
}

}  // namespace lumox_test
