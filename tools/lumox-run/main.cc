// lumox-run: runs a program under its checkers (the sanitizer runtimes it
// was built with, Valgrind, or cppcheck) and reports every finding to Lumox,
// one session per checked process. See tools/lumox-run/README.md.

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "tools/lumox-run/RunOptions.h"
#include "tools/lumox-run/Runner.h"

int main(int argc, char** argv)
{
    RunOptions options;
    std::string error;
    if (parseRunOptions(argc, argv, options, error) != 0) {
        fprintf(stderr, "lumox-run: %s\n%s", error.c_str(), runUsage());
        return 125;
    }
    if (options.help) {
        fputs(runUsage(), stdout);
        return 0;
    }
    int signal = 0;
    int status;
    {
        Runner runner(options);
        status = runner.run(signal);
    }
    if (signal) {
        // Dying of the program's signal tells the shell and make what the
        // program itself would have: no core of lumox-run's own, though.
        struct rlimit none = {0, 0};
        setrlimit(RLIMIT_CORE, &none);
        std::signal(signal, SIG_DFL);
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, signal);
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        raise(signal);
    }
    return status;
}
