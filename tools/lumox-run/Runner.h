#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/lumox-run/ProgramRuntimes.h"
#include "tools/lumox-run/RunOptions.h"

class CppcheckParser;
class LogFollower;
class ReportWriter;
class SanitizerParser;
class SessionTable;

// Runs one checked program and turns what its checkers report into
// sessions. The checkers write into a private directory (the sanitizer
// runtimes through log_path, Valgrind through --xml-file, one file per
// process), which is watched with inotify; each file is read as it grows.
// A process's session ends when the process does (a pidfd per reporting
// process); the run ends when the program does, with its exit status.
// One thread, one poll loop. It owns the directory and everything in it,
// the followers, the sessions and the report file.
class Runner {
public:
    explicit Runner(const RunOptions& options);
    ~Runner();

    // Runs the program to its end. The exit status for lumox-run: the
    // program's own, 125 when lumox-run fails, 126 or 127 when the program
    // cannot be run or found. A program killed by a signal sets `signal`.
    int run(int& signal);

private:
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    int prepare();
    std::vector<std::string> commandLine() const;
    int start();
    void loop();
    void drainEvents();
    void follow(const std::string& name);
    void readOutput(bool toEnd);
    void readSignals();
    void watchProcess(long pid);
    void processEnded(long pid);
    void echoLogs(long pid);
    void finishRun();
    void exitSummary();
    void fail(const std::string& what);

    RunOptions _options;
    ProgramRuntimes _runtimes;
    std::string _dir;
    int _inotify;
    int _signals;
    int _output;  // the program's standard error when it must be read
    pid_t _child;
    int _waitStatus;
    bool _exited;
    std::map<std::string, std::unique_ptr<LogFollower>> _followers;
    std::map<long, int> _pidfds;
    std::unique_ptr<ReportWriter> _report;
    std::unique_ptr<SessionTable> _sessions;
    std::unique_ptr<SanitizerParser> _stderrReports;
    std::unique_ptr<CppcheckParser> _cppcheck;
    bool _cppcheckBroken;
};

// A process's command line from /proc, its arguments joined by blanks;
// empty when the process is gone.
std::string processCommand(long pid);
// The directory a process runs in, from /proc; empty when it is gone.
std::string processDirectory(long pid);
