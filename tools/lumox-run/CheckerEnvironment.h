#pragma once

#include <string>
#include <vector>

// The environment a checked program runs in: the caller's, with each
// sanitizer runtime's options (ASAN_OPTIONS, UBSAN_OPTIONS, TSAN_OPTIONS,
// LSAN_OPTIONS) merged with what lumox-run needs: every report in its own
// file `logPrefix`.PID, closed by a SUMMARY line, with symbolized stacks and
// the undefined-behaviour check named. The user's other options stay.
std::vector<std::string> checkerEnvironment(char** environ, const std::string& logPrefix, bool fullStacks);

// One runtime's option text: the user's (may be null) with `ours` after it.
// The runtimes read options left to right and the last setting of a name
// wins, so ours hold and the user's others stand.
std::string mergeSanitizerOptions(const char* user, const std::string& ours);
