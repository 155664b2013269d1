#include "tools/lumox-run/Runner.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/lumox-run/CheckerEnvironment.h"
#include "tools/lumox-run/CppcheckParser.h"
#include "tools/lumox-run/LogFollower.h"
#include "tools/lumox-run/ReportWriter.h"
#include "tools/lumox-run/SanitizerParser.h"
#include "tools/lumox-run/SessionTable.h"

extern char** environ;

namespace {

enum { ExitFailed = 125, ExitCannotRun = 126, ExitNotFound = 127 };

const int handledSignals[] = {SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP};

// "san.123" (or "san.prog.123") -> 123 and the sanitizer format, "vg.123"
// -> 123 and Valgrind's; false for other names.
bool logName(const std::string& name, long& pid, LogFollower::Format& format)
{
    size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string prefix = name.substr(0, dot);
    char* end = nullptr;
    pid = strtol(name.c_str() + dot + 1, &end, 10);
    if (*end || pid <= 0)
        return false;
    // log_exe_name=1 in the user's options puts the program's name between.
    if (prefix == "san" || prefix.compare(0, 4, "san.") == 0)
        format = LogFollower::SanitizerLog;
    else if (prefix == "vg")
        format = LogFollower::ValgrindXml;
    else
        return false;
    return true;
}

int pidfdOpen(long pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
#else
    errno = ENOSYS;
    return -1;
#endif
}

// Whether a process still runs (a zombie has ended).
bool processAlive(long pid)
{
    std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* f = fopen(path.c_str(), "r");
    if (!f)
        return false;
    char line[512];
    bool alive = false;
    if (fgets(line, sizeof line, f)) {
        const char* close = strrchr(line, ')');
        alive = close && close[1] == ' ' && close[2] != 'Z' && close[2] != 'X';
    }
    fclose(f);
    return alive;
}

void removeTree(const std::string& dir)
{
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name != "." && name != "..")
            unlink((dir + "/" + name).c_str());
    }
    closedir(d);
    rmdir(dir.c_str());
}

std::string signalName(int sig)
{
    const char* abbrev = sigabbrev_np(sig);
    return abbrev ? std::string("SIG") + abbrev : "signal " + std::to_string(sig);
}

}  // namespace

std::string processCommand(long pid)
{
    std::string path = "/proc/" + std::to_string(pid) + "/cmdline";
    FILE* f = fopen(path.c_str(), "r");
    if (!f)
        return std::string();
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0 && out.size() < 4096)
        out.append(buf, n);
    fclose(f);
    while (!out.empty() && out.back() == '\0')
        out.pop_back();
    for (char& c : out)
        if (c == '\0')
            c = ' ';
    return out;
}

std::string processDirectory(long pid)
{
    std::string link = "/proc/" + std::to_string(pid) + "/cwd";
    char dir[4096];
    ssize_t n = readlink(link.c_str(), dir, sizeof dir - 1);
    return n > 0 ? std::string(dir, static_cast<size_t>(n)) : std::string();
}

Runner::Runner(const RunOptions& options)
    : _options(options), _inotify(-1), _signals(-1), _output(-1), _child(-1), _waitStatus(0), _exited(false),
      _cppcheckBroken(false)
{
}

Runner::~Runner()
{
    _followers.clear();
    for (auto& p : _pidfds)
        close(p.second);
    if (_inotify >= 0)
        close(_inotify);
    if (_signals >= 0)
        close(_signals);
    if (_output >= 0)
        close(_output);
    if (!_dir.empty())
        removeTree(_dir);
}

void Runner::fail(const std::string& what) { fprintf(stderr, "lumox-run: %s\n", what.c_str()); }

int Runner::prepare()
{
    if (!_options.report.empty()) {
        _report.reset(new ReportWriter);
        std::string error;
        if (_report->open(_options.report, error) != 0) {
            fail(error);
            return ExitFailed;
        }
    }
    _sessions.reset(new SessionTable(_options, _report.get(), stderr));
    _sessions->setReportPrinter([this](long pid) { echoLogs(pid); });

    // The directory name ends up inside the runtimes' option texts, where
    // ':' ',' and blanks separate options: a TMPDIR holding one is passed over.
    const char* tmp = getenv("TMPDIR");
    std::string base = tmp && *tmp && !strpbrk(tmp, ":, \t\"'") ? tmp : "/tmp";
    std::string templ = base + "/lumox-run.XXXXXX";
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
        fail("cannot make a directory in " + base + ": " + strerror(errno));
        return ExitFailed;
    }
    _dir = name.data();
    _inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (_inotify < 0
        || inotify_add_watch(_inotify, _dir.c_str(), IN_CREATE | IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE) < 0) {
        fail(std::string("cannot watch ") + _dir + ": " + strerror(errno));
        return ExitFailed;
    }

    sigset_t set;
    sigemptyset(&set);
    for (int s : handledSignals)
        sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    _signals = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (_signals < 0) {
        fail(std::string("cannot watch signals: ") + strerror(errno));
        return ExitFailed;
    }

    std::string program = _options.command[0];
    if (_options.checker == RunOptions::Cppcheck)
        program = "cppcheck";
    else if (_options.checker == RunOptions::Valgrind && inspectProgram("valgrind").path.empty()) {
        fail("valgrind is not installed: install it (Debian: apt-get install valgrind)");
        return ExitNotFound;
    }
    _runtimes = inspectProgram(program);
    if (_runtimes.path.empty()) {
        fail(program + ": not found"
             + (_options.checker == RunOptions::Cppcheck ? ": install cppcheck (Debian: apt-get install cppcheck)"
                                                        : ""));
        return ExitNotFound;
    }
    if (_options.checker == RunOptions::Sanitizers && _runtimes.elf && !_runtimes.any())
        fail(program + " has no sanitizer runtime, so only the programs it starts that have one can report: "
             "build it with -fsanitize=address,undefined (or thread, or leak), or run lumox-run --valgrind");
    return 0;
}

std::vector<std::string> Runner::commandLine() const
{
    std::vector<std::string> argv;
    if (_options.checker == RunOptions::Valgrind) {
        argv = {"valgrind", "--tool=" + _options.valgrindTool, "--xml=yes", "--xml-file=" + _dir + "/vg.%p",
                "--trace-children=yes", "--child-silent-after-fork=no"};
        if (_options.valgrindTool == "memcheck")
            argv.push_back("--leak-check=full");
        if (_options.fullStacks)
            argv.push_back("--num-callers=64");
    } else if (_options.checker == RunOptions::Cppcheck) {
        argv = {"cppcheck", "--xml", "--xml-version=2"};
    }
    argv.insert(argv.end(), _options.command.begin(), _options.command.end());
    return argv;
}

int Runner::start()
{
    std::vector<std::string> args = commandLine();
    std::vector<std::string> env;
    if (_options.checker == RunOptions::Sanitizers)
        env = checkerEnvironment(environ, _dir + "/san", _options.fullStacks);
    else
        for (char** e = environ; e && *e; ++e)
            env.push_back(*e);

    bool readOutput = _options.checker == RunOptions::Cppcheck
                      || (_options.checker == RunOptions::Sanitizers && _runtimes.sharedAddressWithUndefined());
    int out[2] = {-1, -1};
    int report[2] = {-1, -1};
    if ((readOutput && pipe2(out, O_CLOEXEC) != 0) || pipe2(report, O_CLOEXEC) != 0) {
        fail(std::string("cannot make a pipe: ") + strerror(errno));
        return ExitFailed;
    }
    std::vector<char*> argv, envp;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);

    fflush(nullptr);
    _child = fork();
    if (_child < 0) {
        fail(std::string("cannot start the program: ") + strerror(errno));
        return ExitFailed;
    }
    if (_child == 0) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (readOutput)
            dup2(out[1], 2);
        environ = envp.data();
        execvp(argv[0], argv.data());
        int e = errno;
        ssize_t ignored = write(report[1], &e, sizeof e);
        (void)ignored;
        _exit(ExitCannotRun);
    }
    close(report[1]);
    if (readOutput) {
        close(out[1]);
        _output = out[0];
        fcntl(_output, F_SETFL, O_NONBLOCK);
        if (_options.checker == RunOptions::Cppcheck) {
            char* cwd = getcwd(nullptr, 0);
            _cppcheck.reset(new CppcheckParser(_child, cwd ? cwd : ".", [this](Finding&& f) {
                _sessions->deliver(std::move(f), SessionTable::AsText);
            }));
            free(cwd);
        } else {
            _stderrReports.reset(new SanitizerParser(_child, [this](Finding&& f) {
                _sessions->deliver(std::move(f), SessionTable::AlreadyShown);
            }, SanitizerParser::StandardError));
        }
    }
    std::string shown;
    for (const std::string& a : _options.command)
        shown += (shown.empty() ? "" : " ") + a;
    _sessions->setCommand(_child, (_options.checker == RunOptions::Cppcheck ? "cppcheck " : "") + shown);

    // The exec either closes the report pipe (it worked) or the child
    // writes why it failed.
    int e = 0;
    ssize_t n;
    do
        n = ::read(report[0], &e, sizeof e);
    while (n < 0 && errno == EINTR);
    close(report[0]);
    if (n == sizeof e) {
        waitpid(_child, nullptr, 0);
        _child = -1;
        fail(args[0] + ": " + strerror(e));
        return e == ENOENT ? ExitNotFound : ExitCannotRun;
    }
    return 0;
}

int Runner::run(int& signal)
{
    signal = 0;
    int r = prepare();
    if (r == 0)
        r = start();
    if (r != 0)
        return r;
    loop();
    finishRun();
    if (WIFSIGNALED(_waitStatus)) {
        signal = WTERMSIG(_waitStatus);
        return 128 + signal;
    }
    return WEXITSTATUS(_waitStatus);
}

void Runner::loop()
{
    while (!_exited) {
        std::vector<pollfd> fds;
        fds.push_back({_inotify, POLLIN, 0});
        fds.push_back({_signals, POLLIN, 0});
        if (_output >= 0)
            fds.push_back({_output, POLLIN, 0});
        std::vector<long> pids;
        for (const auto& p : _pidfds) {
            fds.push_back({p.second, POLLIN, 0});
            pids.push_back(p.first);
        }
        int r = poll(fds.data(), fds.size(), -1);
        if (r < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            drainEvents();
        size_t k = 2;
        if (_output >= 0 && fds[k++].revents)
            readOutput(false);
        for (size_t i = 0; i < pids.size(); ++i)
            if (fds[k + i].revents)
                processEnded(pids[i]);
        if (fds[1].revents)
            readSignals();
    }
}

void Runner::drainEvents()
{
    alignas(inotify_event) char buf[16384];
    for (;;) {
        ssize_t n = ::read(_inotify, buf, sizeof buf);
        if (n <= 0)
            return;
        for (char* p = buf; p < buf + n;) {
            const inotify_event* ev = reinterpret_cast<const inotify_event*>(p);
            p += sizeof(inotify_event) + ev->len;
            if (ev->mask & IN_Q_OVERFLOW) {
                // Events were lost: every file is looked at again.
                DIR* d = opendir(_dir.c_str());
                while (dirent* e = d ? readdir(d) : nullptr)
                    follow(e->d_name);
                if (d)
                    closedir(d);
                for (auto& f : _followers)
                    f.second->read();
                continue;
            }
            if (!ev->len)
                continue;
            std::string name = ev->name;
            if (ev->mask & IN_CREATE)
                follow(name);
            auto i = _followers.find(name);
            if (i == _followers.end())
                continue;
            LogFollower& f = *i->second;
            if (ev->mask & IN_OPEN)
                f.opened();
            if (ev->mask & (IN_MODIFY | IN_CLOSE_WRITE)) {
                f.read();
                long pid = f.pid();
                if (f.format() == LogFollower::SanitizerLog && _sessions->hasSession(pid)) {
                    if (_sessions->wantsFullReports(pid))
                        f.echo(stderr);
                    else
                        f.skipEcho();
                }
            }
        }
    }
}

void Runner::follow(const std::string& name)
{
    long pid = 0;
    LogFollower::Format format;
    if (_followers.count(name) || !logName(name, pid, format))
        return;
    std::unique_ptr<LogFollower> f(new LogFollower(_dir + "/" + name, pid, format, [this, name](Finding&& x) {
        auto i = _followers.find(name);
        if (i == _followers.end())
            return;
        // Valgrind's preamble names the program a process runs, also after
        // an exec; /proc would name Valgrind itself.
        if (i->second->format() == LogFollower::ValgrindXml)
            _sessions->setCommand(x.pid, i->second->command());
        _sessions->deliver(std::move(x), i->second->format() == LogFollower::SanitizerLog ? SessionTable::AsLog
                                                                                          : SessionTable::AsText);
    }));
    if (f->open() != 0)
        return;
    // The process is still there when its log appears: its command line is
    // read now, before it can end.
    if (pid != _child) {
        _sessions->setCommand(pid, processCommand(pid));
        _sessions->setDirectory(pid, processDirectory(pid));
    }
    _followers[name] = std::move(f);
    if (pid != _child)
        watchProcess(pid);
}

void Runner::watchProcess(long pid)
{
    if (_pidfds.count(pid))
        return;
    int fd = pidfdOpen(pid);
    if (fd >= 0) {
        _pidfds[pid] = fd;
        return;
    }
    // Gone already: what it wrote is all there is.
    if (!processAlive(pid))
        processEnded(pid);
}

void Runner::processEnded(long pid)
{
    auto p = _pidfds.find(pid);
    if (p != _pidfds.end()) {
        close(p->second);
        _pidfds.erase(p);
    }
    for (auto& f : _followers)
        if (f.second->pid() == pid && !f.second->finished()) {
            if (f.second->format() == LogFollower::ValgrindXml)
                _sessions->setCommand(pid, f.second->command());
            f.second->finish();
        }
    echoLogs(pid);
    _sessions->end(pid);
}

void Runner::echoLogs(long pid)
{
    bool full = _sessions->wantsFullReports(pid) || !_sessions->hasSession(pid);
    for (auto& f : _followers)
        if (f.second->pid() == pid && f.second->format() == LogFollower::SanitizerLog) {
            // A log no finding came from holds something lumox-run could
            // not read: it goes on the terminal rather than nowhere.
            if (full)
                f.second->echo(stderr);
            else
                f.second->skipEcho();
        }
}

void Runner::readOutput(bool toEnd)
{
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(_output, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) {
            close(_output);
            _output = -1;
            return;
        }
        if (n < 0) {
            // Nothing more now; at the end a descendant may still hold the
            // pipe open, so what is there is all that is waited for.
            (void)toEnd;
            return;
        }
        if (_stderrReports) {
            // Copied through first, so the program's output keeps its order.
            fwrite(buf, 1, static_cast<size_t>(n), stderr);
            fflush(stderr);
            _stderrReports->feed(buf, static_cast<size_t>(n));
        } else if (_cppcheck && !_cppcheckBroken) {
            if (_cppcheck->feed(buf, static_cast<size_t>(n)) != 0) {
                _cppcheckBroken = true;
                fail("cppcheck's output is not the XML it should be (" + _cppcheck->error() + "); it follows as it is:");
                fwrite(buf, 1, static_cast<size_t>(n), stderr);
            }
        } else {
            fwrite(buf, 1, static_cast<size_t>(n), stderr);
        }
    }
}

void Runner::readSignals()
{
    signalfd_siginfo info;
    while (::read(_signals, &info, sizeof info) == sizeof info) {
        int sig = static_cast<int>(info.ssi_signo);
        if (sig == SIGCHLD) {
            int status = 0;
            if (_child > 0 && waitpid(_child, &status, WNOHANG) == _child) {
                _waitStatus = status;
                _exited = true;
            }
            continue;
        }
        // A terminal's Ctrl-C or Ctrl-\ already reached the program, which
        // is in the same process group; one sent to lumox-run alone, and a
        // termination, are passed on to it.
        bool fromTerminal = (sig == SIGINT || sig == SIGQUIT) && info.ssi_code == SI_KERNEL;
        if (_child > 0 && !fromTerminal)
            kill(_child, sig);
    }
}

void Runner::finishRun()
{
    drainEvents();
    if (_output >= 0)
        readOutput(true);
    if (_stderrReports)
        _stderrReports->finish();
    if (_cppcheck && !_cppcheckBroken)
        _cppcheck->finish();
    std::vector<long> pids;
    for (auto& f : _followers)
        pids.push_back(f.second->pid());
    for (long pid : pids)
        if (pid != _child)
            processEnded(pid);
    for (auto& f : _followers)
        if (f.second->pid() == _child && !f.second->finished())
            f.second->finish();
    echoLogs(_child);
    exitSummary();
    _sessions->endAll();

    std::string program = _options.checker == RunOptions::Cppcheck ? "cppcheck" : _options.command[0];
    std::string status = WIFSIGNALED(_waitStatus)
                             ? program + " was killed by " + signalName(WTERMSIG(_waitStatus))
                             : program + " exited with status " + std::to_string(WEXITSTATUS(_waitStatus));
    std::string where;
    if (_report) {
        int written = _report->written();
        if (_report->close() != 0)
            fail(_options.report + ": the report file could not be written completely");
        where = "; " + std::to_string(written) + (written == 1 ? " session" : " sessions") + " in " + _options.report;
    }
    fprintf(stderr, "lumox-run: %s%s; %s\n", _sessions->counts().c_str(), where.c_str(), status.c_str());
    fflush(stderr);
}

void Runner::exitSummary()
{
    bool signaled = WIFSIGNALED(_waitStatus);
    if (!_sessions->hasSession(_child) && !signaled)
        return;
    Finding f;
    f.pid = _child;
    f.checker = "lumox-run";
    f.category = "EXIT_summary";
    std::string program = _options.checker == RunOptions::Cppcheck ? "cppcheck" : _options.command[0];
    std::string line = signaled ? program + " was killed by " + signalName(WTERMSIG(_waitStatus)) + "."
                                : program + " exited with status " + std::to_string(WEXITSTATUS(_waitStatus)) + ".";
    f.addLine(line);
    f.addLine("lumox-run: " + _sessions->counts() + " in this run.");
    _sessions->summarize(std::move(f));
}
