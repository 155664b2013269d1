#include "tests/support/TestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace lumox_test {

static long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepMs(int ms) { usleep(ms * 1000); }

XvfbServer::XvfbServer(const char* geometry) : _pid(-1), _owner(getpid())
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    _pid = fork();
    if (_pid == 0) {
        // The server goes when the test program goes, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry, "-nolisten", "tcp",
               "-noreset", (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);
    if (_pid < 0) {
        close(fds[0]);
        return;
    }
    std::string num;
    char c;
    struct pollfd p = {fds[0], POLLIN, 0};
    long deadline = nowMs() + 15000;
    while (nowMs() < deadline) {
        if (poll(&p, 1, 200) <= 0)
            continue;
        ssize_t n = read(fds[0], &c, 1);
        if (n <= 0 || c == '\n')
            break;
        num += c;
    }
    close(fds[0]);
    if (!num.empty())
        _display = ":" + num;
}

XvfbServer::~XvfbServer()
{
    if (_pid > 0 && getpid() == _owner) {
        ::kill(_pid, SIGTERM);
        int st;
        for (int i = 0; i < 200 && waitpid(_pid, &st, WNOHANG) == 0; ++i)
            usleep(10000);
        ::kill(_pid, SIGKILL);
        waitpid(_pid, &st, WNOHANG);
    }
}

const char* ensureDisplay()
{
    // Destroyed at exit, which stops the server.
    static std::unique_ptr<XvfbServer> server;
    if (!server) {
        server.reset(new XvfbServer());
        if (!server->ok())
            return nullptr;
        setenv("DISPLAY", server->display().c_str(), 1);
    }
    return server->ok() ? server->display().c_str() : nullptr;
}

bool runLoopUntil(XtAppContext context, const std::function<bool()>& pred, int timeoutMs)
{
    long deadline = nowMs() + timeoutMs;
    while (!pred()) {
        if (nowMs() > deadline)
            return pred();
        if (XtAppPending(context))
            XtAppProcessEvent(context, XtIMAll);
        else
            usleep(1000);
    }
    return true;
}

void runLoopFor(XtAppContext context, int ms)
{
    long deadline = nowMs() + ms;
    runLoopUntil(context, [&] { return nowMs() >= deadline; }, ms + 1000);
}

Child::~Child()
{
    if (_pid > 0 && getpid() == _owner && running()) {
        kill(SIGKILL);
        wait(2000);
    }
}

static std::string tempPath(const char* tag)
{
    static int counter = 0;
    std::string dir = scratchDir("child-output");
    return dir + "/" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "." + tag;
}

bool Child::start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  const std::string& cwd)
{
    _outPath = tempPath("out");
    _errPath = tempPath("err");
    _status = -1;
    _owner = getpid();
    _pid = fork();
    if (_pid < 0)
        return false;
    if (_pid == 0) {
        // A program under test never outlives the test that started it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        int out = open(_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, 0);
        for (const std::string& e : env)
            putenv(strdup(e.c_str()));
        if (!cwd.empty() && chdir(cwd.c_str()) != 0)
            _exit(126);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(strdup(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return true;
}

int Child::wait(int timeoutMs)
{
    long deadline = nowMs() + timeoutMs;
    while (running()) {
        if (nowMs() > deadline)
            return -1;
        usleep(5000);
    }
    return _status;
}

bool Child::running()
{
    if (_pid <= 0)
        return false;
    int st;
    if (waitpid(_pid, &st, WNOHANG) != _pid)
        return true;
    _pid = -1;
    _status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return false;
}

void Child::kill(int sig)
{
    if (_pid > 0)
        ::kill(_pid, sig);
}

std::string Child::out() const { return readFile(_outPath); }
std::string Child::err() const { return readFile(_errPath); }

bool Child::waitForErr(const std::string& text, int timeoutMs)
{
    long deadline = nowMs() + timeoutMs;
    while (err().find(text) == std::string::npos) {
        if (nowMs() > deadline)
            return false;
        usleep(10000);
    }
    return true;
}

std::string buildPath(const std::string& rel) { return std::string(LUMOX_BUILD_DIR) + "/" + rel; }

std::string scratchDir(const std::string& name)
{
    std::string base = std::string(LUMOX_BUILD_DIR) + "/test-scratch";
    mkdir(base.c_str(), 0755);
    std::string dir = base + "/" + name;
    mkdir(dir.c_str(), 0755);
    return dir;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string scratchFile(const std::string& dir, const std::string& name, const std::string& text)
{
    std::string path = scratchDir(dir) + "/" + name;
    writeFile(path, text);
    return path;
}

ScopedEnv::ScopedEnv(const char* name) : _name(name), _had(false)
{
    if (const char* v = getenv(name)) {
        _had = true;
        _value = v;
    }
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : ScopedEnv(name)
{
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (_had)
        setenv(_name.c_str(), _value.c_str(), 1);
    else
        unsetenv(_name.c_str());
}

ScopedCwd::ScopedCwd(const std::string& dir) : _ok(false)
{
    char* cwd = getcwd(nullptr, 0);
    _old = cwd ? cwd : ".";
    free(cwd);
    _ok = chdir(dir.c_str()) == 0;
}

ScopedCwd::~ScopedCwd()
{
    if (_ok && chdir(_old.c_str()) != 0)
        fprintf(stderr, " *** ScopedCwd : cannot return to %s\n", _old.c_str());
}

int listenOn(int port)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(port);
    if (bind(fd, (sockaddr*)&a, sizeof a) == 0 && listen(fd, 5) == 0)
        return fd;
    close(fd);
    return -1;
}

static bool portFree(int port)
{
    int fd = listenOn(port);
    if (fd >= 0)
        close(fd);
    return fd >= 0;
}

int findFreePorts(int count)
{
    // Spread test programs running side by side over different ranges.
    int base = 20000 + (getpid() % 2000) * 10;
    for (int tries = 0; tries < 2000; ++tries, base += 10 + count) {
        if (base + count > 60000)
            base = 20000;
        bool ok = true;
        for (int k = 0; k < count && ok; ++k)
            ok = portFree(base + k);
        if (ok)
            return base;
    }
    return -1;
}

int connectTo(int port, int timeoutMs)
{
    long deadline = nowMs() + timeoutMs;
    for (;;) {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a;
        memset(&a, 0, sizeof a);
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        if (connect(fd, (sockaddr*)&a, sizeof a) == 0)
            return fd;
        close(fd);
        if (nowMs() > deadline)
            return -1;
        usleep(20000);
    }
}

std::string jsonSchemaErrors(const std::string& schema, const std::string& path)
{
    // Debian's interpreter, which python3-jsonschema serves; the first
    // python3 on PATH may be another.
    Child py;
    if (!py.start({"/usr/bin/python3", "-c",
                   "import json, sys, jsonschema\n"
                   "jsonschema.validate(json.load(open(sys.argv[2])), json.load(open(sys.argv[1])))\n",
                   schema, path}))
        return "python3 did not start";
    return py.wait(60000) == 0 ? "" : py.err() + py.out();
}

}  // namespace lumox_test
