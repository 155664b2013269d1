#pragma once

#include <string>

// Which sanitizer runtimes a program carries, read from its ELF file: the
// shared runtimes gcc links (DT_NEEDED entries such as libasan.so.8) and
// the static ones clang links (their __asan_, __ubsan_, __tsan_ and __lsan_
// symbols in the dynamic symbol table).
struct ProgramRuntimes {
    std::string path;     // where the program was found; empty when it was not
    bool elf = false;     // false for scripts and files that cannot be read
    bool address = false;
    bool undefined = false;
    bool thread = false;
    bool leak = false;
    bool sharedAddress = false;    // libasan.so among the libraries it needs
    bool sharedUndefined = false;  // libubsan.so among them

    bool any() const { return address || undefined || thread || leak; }
    // gcc's shared address and undefined runtimes together: the undefined
    // runtime then ignores log_path and prints its reports on standard error.
    bool sharedAddressWithUndefined() const { return sharedAddress && sharedUndefined; }
};

// Finds `program` as execvp would (a name without '/' along PATH) and reads
// its runtimes.
ProgramRuntimes inspectProgram(const std::string& program);
