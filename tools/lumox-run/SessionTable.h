#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "tools/lumox-run/Finding.h"
#include "tools/lumox-run/RunOptions.h"

struct lumox_client;
class ReportWriter;

// The sessions of one lumox-run: one per checked process that reports,
// made at its first finding. A session goes to the Lumox collector (a
// "Runtime" sign-on naming the process's command line and pid, so that
// Build on it interrupts that process), or into the report file, or, when
// no collector listens, onto the terminal in full. Every finding also gets
// one line on the terminal. It owns the connections; the report writer and
// the terminal stream are the caller's.
class SessionTable {
public:
    SessionTable(const RunOptions& options, ReportWriter* report, FILE* terminal);
    ~SessionTable();

    // The command line of process `pid`, for its sign-on line; known before
    // its first finding when possible.
    void setCommand(long pid, const std::string& command);
    // The directory process `pid` runs in, against which its relative
    // source paths are taken; lumox-run's own when not known.
    void setDirectory(long pid, const std::string& dir);
    // How a finding's whole report reaches the terminal when it must: as
    // the finding's own text, as its log verbatim (the report printer), or
    // not at all because it is already there (the program's standard error).
    enum Shown { AsText, AsLog, AlreadyShown };
    // Hands on one finding of its process.
    void deliver(Finding&& f, Shown shown);
    // Called before a finding's line when its report is to be shown in
    // full and the caller shows it (a sanitizer log, verbatim).
    void setReportPrinter(std::function<void(long pid)> printer) { _printReport = std::move(printer); }
    // Adds the closing summary of a process to its session: not counted as a
    // finding, and not shown on the terminal, which has its closing line.
    void summarize(Finding&& f);
    // Whether the reports of process `pid` belong on the terminal in full
    // (no collector, or --echo); false while the process has no session.
    bool wantsFullReports(long pid) const;
    bool hasSession(long pid) const { return _sessions.count(pid) != 0; }
    // The process ended: its session signs off.
    void end(long pid);
    void endAll();

    int findings() const { return _findings; }
    int sessions() const { return static_cast<int>(_sessions.size()) + _ended; }
    // "3 findings in 2 processes (2 heap-buffer-overflow, 1 LEAK_direct)".
    std::string counts() const;

private:
    enum Mode { Live, Report, Terminal };
    struct Session {
        long pid = 0;
        std::string command;
        Mode mode = Terminal;
        lumox_client* client = nullptr;
    };

    SessionTable(const SessionTable&) = delete;
    SessionTable& operator=(const SessionTable&) = delete;
    Session& open(long pid);
    // Sends a finding to its session, opening it first; where it is, as
    // the terminal line names it.
    std::string send(const Finding& f);
    std::string commandOf(long pid) const;
    void toTerminal(Session& s, const char* why);

    RunOptions _options;
    ReportWriter* _report;
    FILE* _terminal;
    std::function<void(long)> _printReport;
    std::map<long, Session> _sessions;
    std::map<long, std::string> _commands;
    std::map<long, std::string> _directories;
    std::map<std::string, int> _byCategory;
    int _findings;
    int _ended;
    bool _toldNoCollector;
};
