#pragma once

#include <string>

// The private directory of one fuzzing process, made on first use: HOME and
// QUENTAR point at two empty folders inside it, so that the suppression
// sources read no option file of the user or the installation, and the
// option reader knows this program as Lumox. The directory goes when the
// process exits normally; a crashed run leaves it for a look.
class FuzzScratch {
public:
    static const FuzzScratch& instance();

    // A path inside the directory.
    std::string path(const char* name) const { return _root + "/" + name; }

private:
    FuzzScratch();

    std::string _root;
};

// The bytes of a file; empty when it cannot be read.
std::string fuzzReadFile(const std::string& path);
// Replaces a file by `size` bytes; 0 or -1.
int fuzzWriteFile(const std::string& path, const void* data, size_t size);

// Reports a broken check and aborts, so that libFuzzer keeps the input. The
// message goes to the standard error the process started with, which stays
// open when libFuzzer closes the model's (-close_fd_mask=2).
[[noreturn]] void fuzzFail(const std::string& message);
