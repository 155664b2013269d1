#pragma once

#include <X11/Intrinsic.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace lumox_test {

// A private X server for one test or one test program.
class XvfbServer {
public:
    explicit XvfbServer(const char* geometry = "1280x1024x24");
    ~XvfbServer();
    bool ok() const { return _pid > 0 && !_display.empty(); }
    const std::string& display() const { return _display; }

private:
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    pid_t _pid;
    pid_t _owner;  // a forked copy of the test program leaves the server alone
    std::string _display;
};

// Starts one private Xvfb for the whole test program (on first call) and points
// DISPLAY at it; returns the display name, or null when no server could start.
const char* ensureDisplay();

// Runs the toolkit loop until pred() holds or timeoutMs pass; returns pred().
bool runLoopUntil(XtAppContext context, const std::function<bool()>& pred, int timeoutMs = 5000);
// Runs the toolkit loop for about `ms` milliseconds.
void runLoopFor(XtAppContext context, int ms);

// A child process with standard output and error captured to files.
class Child {
public:
    Child() : _pid(-1), _owner(-1), _status(-1) {}
    ~Child();
    // Starts argv[0] (a path) with the extra environment "NAME=value" entries.
    bool start(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
               const std::string& cwd = "");
    // Waits up to timeoutMs; the exit status (0..255), 128+signal, or -1 on timeout.
    int wait(int timeoutMs = 10000);
    bool running();
    void kill(int sig = 15);
    pid_t pid() const { return _pid; }
    std::string out() const;
    std::string err() const;
    // Waits until the captured standard error holds `text`.
    bool waitForErr(const std::string& text, int timeoutMs = 10000);

private:
    pid_t _pid;
    pid_t _owner;
    int _status;
    std::string _outPath, _errPath;
};

// Path of a program in the build tree, such as "app/lumox".
std::string buildPath(const std::string& rel);
// A fresh empty directory under the build tree's test scratch area.
std::string scratchDir(const std::string& name);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
// Writes `text` to the file `name` in scratchDir(dir); its path.
std::string scratchFile(const std::string& dir, const std::string& name, const std::string& text);

// Puts an environment variable back as it was when the object goes.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name);
    // Also sets it to `value`, or unsets it when `value` is null.
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

private:
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    std::string _name, _value;
    bool _had;
};

// Works in `dir` while it exists, then goes back where it was.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& dir);
    ~ScopedCwd();
    bool ok() const { return _ok; }

private:
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;
    std::string _old;
    bool _ok;
};

// A base port such that `count` consecutive TCP ports from it are free now.
int findFreePorts(int count);
// A socket listening on `port` of every address, as another program would
// hold it; -1 when the port cannot be had.
int listenOn(int port);
// Connects to 127.0.0.1:port; the socket, or -1.
int connectTo(int port, int timeoutMs = 3000);

void sleepMs(int ms);

// Checks the JSON file `path` against the JSON schema `schema` with
// python3-jsonschema; the validator's complaint, or "" when it is valid.
std::string jsonSchemaErrors(const std::string& schema, const std::string& path);

}  // namespace lumox_test
