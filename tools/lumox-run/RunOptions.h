#pragma once

#include <string>
#include <vector>

// What lumox-run was asked to do, from its command line.
struct RunOptions {
    enum Checker { Sanitizers, Valgrind, Cppcheck };

    Checker checker = Sanitizers;
    std::string valgrindTool = "memcheck";  // memcheck, helgrind or drd
    int port = 0;                           // 0: the collector's port search
    bool echo = false;                      // whole reports on the terminal too
    bool fullStacks = false;                // leak stacks through libc, longer Valgrind stacks
    std::string report;                     // write the sessions to this report file instead
    bool help = false;
    // The program and its arguments; for --cppcheck, cppcheck's arguments.
    std::vector<std::string> command;
};

// Reads lumox-run's options up to the program (or up to "--"). 0, or -1
// with a one-line reason in `error`.
int parseRunOptions(int argc, char** argv, RunOptions& options, std::string& error);

// The usage text, one option a line.
const char* runUsage();
