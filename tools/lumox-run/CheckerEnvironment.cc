#include "tools/lumox-run/CheckerEnvironment.h"

#include <cstring>

std::string mergeSanitizerOptions(const char* user, const std::string& ours)
{
    std::string u = user ? user : "";
    while (!u.empty() && (u.back() == ':' || u.back() == ' ' || u.back() == ','))
        u.pop_back();
    return u.empty() ? ours : u + ":" + ours;
}

std::vector<std::string> checkerEnvironment(char** environ, const std::string& logPrefix, bool fullStacks)
{
    std::string common = "log_path=" + logPrefix + ":print_summary=1:symbolize=1";
    // Standalone leak checking unwinds allocation stacks the fast way, which
    // stops inside libc; the slow way is complete but makes allocations
    // far slower, so it is asked for.
    std::string unwind = fullStacks ? ":fast_unwind_on_malloc=0" : "";
    struct Runtime {
        const char* name;
        std::string ours;
    } runtimes[] = {
        {"ASAN_OPTIONS", common + unwind},
        {"UBSAN_OPTIONS", common + ":print_stacktrace=1:report_error_type=1"},
        {"TSAN_OPTIONS", common},
        {"LSAN_OPTIONS", common + unwind},
    };
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        bool replaced = false;
        for (const Runtime& r : runtimes)
            replaced = replaced || (strncmp(*e, r.name, strlen(r.name)) == 0 && (*e)[strlen(r.name)] == '=');
        if (!replaced)
            env.push_back(*e);
    }
    for (const Runtime& r : runtimes) {
        const char* user = nullptr;
        for (char** e = environ; e && *e; ++e)
            if (strncmp(*e, r.name, strlen(r.name)) == 0 && (*e)[strlen(r.name)] == '=')
                user = *e + strlen(r.name) + 1;
        env.push_back(std::string(r.name) + "=" + mergeSanitizerOptions(user, r.ours));
    }
    return env;
}
