#pragma once

#include <cstddef>
#include <string>

#include "tools/lumox-run/Finding.h"

// Reads cppcheck's XML output (version 2, which cppcheck writes on its
// standard error) as it arrives and hands each <error> to the sink as a
// finding of process `pid`. Relative file names are taken relative to
// `cwd`, the directory cppcheck ran in, so that the editor can open them.
// It owns its XML parser; the sink is called from inside feed() and finish().
class CppcheckParser {
public:
    CppcheckParser(long pid, const std::string& cwd, FindingSink sink);
    ~CppcheckParser();

    // Parses the next bytes. -1 once the XML is broken; later bytes are
    // then ignored.
    int feed(const char* data, size_t n);
    // The output is complete.
    void finish();

    // Why the XML is broken, with its line and column; empty while it is not.
    std::string error() const;

private:
    CppcheckParser(const CppcheckParser&) = delete;
    CppcheckParser& operator=(const CppcheckParser&) = delete;
    struct Impl;
    Impl* _impl;
};
