#pragma once

#include <cstddef>
#include <string>

#include "tools/lumox-run/Finding.h"

// Reads one Valgrind XML output file (protocol 4: memcheck, helgrind, drd)
// as it grows, and hands each error to the sink as a finding the moment its
// element closes. It owns its XML parser; the sink is called from inside
// feed() and finish().
class ValgrindParser {
public:
    explicit ValgrindParser(FindingSink sink);
    ~ValgrindParser();

    // Parses the next bytes of the file. -1 once the XML is broken; later
    // bytes are then ignored until reset().
    int feed(const char* data, size_t n);
    // The file is complete (its process has ended): a leak check in
    // progress still yields its summary.
    void finish();
    // The file was truncated and is written anew (Valgrind does so when the
    // process execs another program): start over with a fresh document.
    void reset();

    // What the file's preamble says, once it has been read; 0 and empty before.
    long pid() const;
    std::string command() const;  // the client program and its arguments
    std::string tool() const;     // "memcheck", "helgrind", "drd"

    // Why the XML is broken, with its line and column; empty while it is not.
    std::string error() const;

private:
    ValgrindParser(const ValgrindParser&) = delete;
    ValgrindParser& operator=(const ValgrindParser&) = delete;
    struct Impl;
    Impl* _impl;
};
