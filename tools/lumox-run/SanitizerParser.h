#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/lumox-run/Finding.h"

// Reads the reports of the sanitizer runtimes (address, leak, undefined
// behaviour, thread) of one process as its log grows, and hands each
// finding to the sink when its report is whole. A report is whole at its
// closing line (the SUMMARY line, or for undefined-behaviour reports on
// standard error, which carry none, the blank line after the stack), never
// at a pause: the runtimes pause in the middle of a report while they
// symbolize. A leak report yields one finding per leak and a LEAK_summary.
class SanitizerParser {
public:
    // Where the text comes from: a runtime's own log file (log_path), or the
    // standard error of a program whose undefined-behaviour runtime ignores
    // log_path and prints there, mixed with the program's own output.
    enum Source { LogFile, StandardError };

    SanitizerParser(long pid, FindingSink sink, Source source = LogFile);

    // Parses the next bytes; a line cut at the end waits for the rest.
    void feed(const char* data, size_t n);
    // The log is complete (its process has ended): a report cut short is
    // handed on as it stands.
    void finish();
    // The log was truncated and is written anew (the process exec'd).
    void reset();

    // The longest line kept; the rest of a longer line is dropped.
    enum { MaxLine = 64 * 1024 };

private:
    enum Kind { NoReport, ErrorReport, LeakReport, UndefinedReport, RaceReport };

    void line(std::string text);
    bool startsReport(const std::string& text, const std::string& bare);
    void begin(Kind kind, const std::string& checker, const std::string& category);
    void addText(const std::string& text);
    void closeStack();
    void end();
    void emit(Finding& f);
    void noteThread(const std::string& text);

    long _pid;
    FindingSink _sink;
    Source _source;
    std::string _partial;
    bool _dropping;          // in the part of an overlong line that is not kept
    Kind _kind;
    Finding _current;        // the report being read (a leak report: the leak being read)
    std::vector<Frame> _frames;  // the stack being read
    std::vector<Finding> _leaks; // the leaks of the leak report being read
    bool _afterStack;        // a stack has ended with its blank line
};

// Reads one frame line of a sanitizer stack ("#1 0x4011f6 in main /src/a.c:7:3",
// "#0 work /src/r.c:4 (prog+0x11e9)", "#2 0x7f.. (/lib/x86_64-linux-gnu/libc.so.6+0x2724a)").
// False when the line is no frame.
bool parseSanitizerFrame(const std::string& line, Frame& frame);

// The check name of an undefined-behaviour report from its message text, for
// runtimes that print none ("signed integer overflow: ..." gives
// "signed-integer-overflow"); "undefined-behavior" when the text is unknown.
std::string undefinedBehaviorCheck(const std::string& message);

// The category of a runtime's fatal signal: "SEGV" gives "SIGSEGV_trapped";
// other words come back unchanged.
std::string signalCategory(const std::string& word);
