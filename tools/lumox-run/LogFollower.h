#pragma once

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tools/lumox-run/Finding.h"

class SanitizerParser;
class ValgrindParser;

// Follows one checker log in lumox-run's private directory while its
// process writes it: "san.PID" from a sanitizer runtime, "vg.PID" from
// Valgrind. It reads what is new on each change, feeds the log's reader and
// starts over when the writer opens the file anew (a process that execs
// another checked program truncates its log). It owns its descriptor and
// its reader; findings go to the sink.
class LogFollower {
public:
    enum Format { SanitizerLog, ValgrindXml };

    // `path` in the directory, written by process `pid`.
    LogFollower(const std::string& path, long pid, Format format, FindingSink sink);
    ~LogFollower();

    // Opens the file; -1 when it cannot be read.
    int open();
    // Someone opened the file (an inotify IN_OPEN). The writer's first open
    // and lumox-run's own are expected; any later one is the writer
    // starting the file anew.
    void opened();
    // Reads everything new and feeds it on.
    void read();
    // The process has ended: reads the rest and ends a report cut short.
    void finish();
    bool finished() const { return _finished; }

    long pid() const { return _pid; }
    Format format() const { return _format; }
    // The program the log is about, when the log says (Valgrind's preamble).
    std::string command() const;

    // The bytes read but not yet shown on the terminal: printed verbatim to
    // `out` (a sanitizer log is what the runtime would have printed), or
    // passed over when nobody needs them.
    void echo(FILE* out);
    void skipEcho() { _echoed = _offset; }
    bool echoPending() const { return _echoed < _offset; }

private:
    LogFollower(const LogFollower&) = delete;
    LogFollower& operator=(const LogFollower&) = delete;
    void startOver();

    std::string _path;
    long _pid;
    Format _format;
    FindingSink _sink;
    int _fd;
    off_t _offset;
    off_t _echoed;
    int _expectedOpens;
    bool _finished;
    bool _broken;  // the log's XML broke; said once
    std::unique_ptr<SanitizerParser> _sanitizer;
    std::unique_ptr<ValgrindParser> _valgrind;
};
