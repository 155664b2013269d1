#include "tools/lumox-run/RunOptions.h"

#include <cstdlib>
#include <cstring>

const char* runUsage()
{
    return "usage: lumox-run [OPTION]... [--] PROGRAM [ARGUMENT]...\n"
           "       lumox-run --cppcheck [OPTION]... [--] CPPCHECK-ARGUMENT...\n"
           "Runs PROGRAM and reports what its checkers find to Lumox, one session per\n"
           "checked process. PROGRAM is built with -fsanitize=address, undefined, thread\n"
           "or leak, or runs under Valgrind with --valgrind.\n"
           "\n"
           "  --valgrind[=TOOL]  run PROGRAM under Valgrind: memcheck (the default),\n"
           "                     helgrind or drd\n"
           "  --cppcheck         run cppcheck with the arguments and report its findings\n"
           "  --port N           report to the Lumox on port N only (default: 3255, or\n"
           "                     LUMOX_PORT, and the nine ports after it)\n"
           "  --report FILE      write the sessions to the report file FILE instead;\n"
           "                     no Lumox is needed (lumox-rpt reads it, Lumox loads it)\n"
           "  --echo             print each whole report on the terminal too\n"
           "  --full-stacks      complete leak stacks (slower allocations) and longer\n"
           "                     Valgrind stacks\n"
           "  -h, --help         print this help\n"
           "\n"
           "The exit status is PROGRAM's own; 125 when lumox-run itself fails, 126 when\n"
           "PROGRAM cannot run, 127 when it is not found.\n";
}

int parseRunOptions(int argc, char** argv, RunOptions& o, std::string& error)
{
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a.empty() || a[0] != '-')
            break;
        if (a == "-h" || a == "--help") {
            o.help = true;
            return 0;
        } else if (a == "--valgrind") {
            o.checker = RunOptions::Valgrind;
        } else if (a.compare(0, 11, "--valgrind=") == 0) {
            o.checker = RunOptions::Valgrind;
            o.valgrindTool = a.substr(11);
            if (o.valgrindTool != "memcheck" && o.valgrindTool != "helgrind" && o.valgrindTool != "drd") {
                error = "unknown Valgrind tool \"" + o.valgrindTool + "\" (memcheck, helgrind or drd)";
                return -1;
            }
        } else if (a == "--cppcheck") {
            o.checker = RunOptions::Cppcheck;
        } else if (a == "--echo") {
            o.echo = true;
        } else if (a == "--full-stacks") {
            o.fullStacks = true;
        } else if (a == "--port" || a.compare(0, 7, "--port=") == 0) {
            std::string value = a.size() > 6 ? a.substr(7) : (i + 1 < argc ? argv[++i] : "");
            char* end = nullptr;
            long port = strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || port < 1 || port > 65535) {
                error = "--port needs a port number from 1 to 65535";
                return -1;
            }
            o.port = static_cast<int>(port);
        } else if (a == "--report" || a.compare(0, 9, "--report=") == 0) {
            o.report = a.size() > 8 ? a.substr(9) : (i + 1 < argc ? argv[++i] : "");
            if (o.report.empty()) {
                error = "--report needs a file name";
                return -1;
            }
        } else {
            error = "unknown option \"" + a + "\"";
            return -1;
        }
    }
    for (; i < argc; ++i)
        o.command.push_back(argv[i]);
    if (o.command.empty()) {
        error = o.checker == RunOptions::Cppcheck ? "--cppcheck needs the files to check" : "no program to run";
        return -1;
    }
    return 0;
}
