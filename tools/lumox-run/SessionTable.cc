#include "tools/lumox-run/SessionTable.h"

#include <unistd.h>

#include <cstdlib>

#include "tools/lumox-client/RecordText.h"
#include "tools/lumox-client/lumox_client.h"
#include "tools/lumox-run/ReportWriter.h"

SessionTable::SessionTable(const RunOptions& options, ReportWriter* report, FILE* terminal)
    : _options(options), _report(report), _terminal(terminal), _findings(0), _ended(0), _toldNoCollector(false)
{
}

SessionTable::~SessionTable() { endAll(); }

void SessionTable::setCommand(long pid, const std::string& command)
{
    if (!command.empty())
        _commands[pid] = command;
}

void SessionTable::setDirectory(long pid, const std::string& dir)
{
    if (!dir.empty())
        _directories[pid] = dir;
}

std::string SessionTable::commandOf(long pid) const
{
    auto i = _commands.find(pid);
    return i != _commands.end() ? i->second : "pid " + std::to_string(pid);
}

SessionTable::Session& SessionTable::open(long pid)
{
    auto i = _sessions.find(pid);
    if (i != _sessions.end())
        return i->second;
    Session& s = _sessions[pid];
    s.pid = pid;
    s.command = commandOf(pid);
    std::string time = lumox_record::now("%Y-%m-%d %H:%M:%S");
    if (_report) {
        s.mode = Report;
        _report->begin(pid, lumox_record::signOnHeader("Runtime", std::to_string(pid), s.command,
                                                       std::to_string(getuid()), lumox_record::hostName(), time));
        return s;
    }
    lumox_signon on = {};
    on.type = "Runtime";
    on.program = s.command.c_str();
    on.pid = pid;
    on.port = _options.port;
    on.time = time.c_str();
    int r = lumox_connect(&s.client, &on);
    if (r == LUMOX_OK) {
        s.mode = Live;
    } else {
        s.client = nullptr;
        if (!_toldNoCollector) {
            fprintf(_terminal, "lumox-run: %s: the reports follow in full here\n", lumox_strerror(r));
            _toldNoCollector = true;
        }
        s.mode = Terminal;
    }
    return s;
}

void SessionTable::toTerminal(Session& s, const char* why)
{
    fprintf(_terminal, "lumox-run: [%ld] %s: its reports follow in full here\n", s.pid, why);
    if (s.client)
        lumox_close(s.client);
    s.client = nullptr;
    s.mode = Terminal;
}

void SessionTable::deliver(Finding&& f, Shown shown)
{
    // A summary (LEAK_summary) closes the findings it sums: it is not one
    // of them.
    const std::string tail = "_summary";
    bool summary = f.category.size() >= tail.size()
                   && f.category.compare(f.category.size() - tail.size(), tail.size(), tail) == 0;
    if (!summary) {
        ++_findings;
        ++_byCategory[f.category];
    }
    std::string where = send(f);
    bool full = wantsFullReports(f.pid);
    if (full && shown == AsText)
        fputs(f.printed.c_str(), _terminal);
    else if (full && shown == AsLog && _printReport)
        _printReport(f.pid);
    if (!summary)
        fprintf(_terminal, "lumox-run: [%ld] %s %s\n", f.pid, f.category.c_str(), where.c_str());
    fflush(_terminal);
}

void SessionTable::summarize(Finding&& f) { send(f); }

std::string SessionTable::send(const Finding& found)
{
    Session& s = open(found.pid);
    Finding f = found;
    auto dir = _directories.find(f.pid);
    if (dir != _directories.end()) {
        resolvePaths(f, dir->second);
    } else {
        char* here = getcwd(nullptr, 0);
        resolvePaths(f, here ? here : "");
        free(here);
    }
    std::string file;
    int line = 0;
    bool located = locate(f, file, line);
    std::string body = messageBody(f);
    std::string thread = messageThread(f);
    lumox_error e = {};
    e.source = f.checker.c_str();
    e.pid = f.pid;
    e.tid = thread.c_str();
    e.category = f.category.c_str();
    e.file = located ? file.c_str() : nullptr;
    e.line = located ? line : 0;
    e.body = body.c_str();

    if (s.mode == Live && lumox_send_error(s.client, &e) != LUMOX_OK)
        toTerminal(s, "the connection to Lumox was lost");
    else if (s.mode == Report)
        _report->add(f.pid, lumox_record::errorHeader(e, std::to_string(f.pid)), body);
    return located ? file + ":" + std::to_string(line) : "unknown";
}

bool SessionTable::wantsFullReports(long pid) const
{
    auto i = _sessions.find(pid);
    return i != _sessions.end() && (i->second.mode == Terminal || _options.echo);
}

void SessionTable::end(long pid)
{
    auto i = _sessions.find(pid);
    if (i == _sessions.end())
        return;
    Session& s = i->second;
    if (s.client)
        lumox_close(s.client);
    if (s.mode == Report)
        _report->end(pid);
    _sessions.erase(i);
    ++_ended;
}

void SessionTable::endAll()
{
    while (!_sessions.empty())
        end(_sessions.begin()->first);
}

std::string SessionTable::counts() const
{
    if (_findings == 0)
        return "no findings";
    std::string out = std::to_string(_findings) + (_findings == 1 ? " finding in " : " findings in ")
                      + std::to_string(sessions()) + (sessions() == 1 ? " process (" : " processes (");
    bool first = true;
    for (const auto& c : _byCategory) {
        out += (first ? "" : ", ") + std::to_string(c.second) + " " + c.first;
        first = false;
    }
    return out + ")";
}
