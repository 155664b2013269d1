#include "fuzz/FuzzScratch.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "options/options.h"

static std::string scratchRoot;
// Taken before main(), before libFuzzer may close standard error.
static const int reportFd = dup(2);

static int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

static void removeScratch()
{
    if (!scratchRoot.empty())
        nftw(scratchRoot.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

FuzzScratch::FuzzScratch()
{
    // A memory file system unless TMPDIR says otherwise: every suppression
    // save syncs its file, which costs milliseconds on a disk.
    const char* tmp = getenv("TMPDIR");
    if (!tmp || !*tmp)
        tmp = access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(tmp) + "/lumox-fuzz.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
        fprintf(stderr, " *** FuzzScratch: cannot make %s\n", pattern.c_str());
        abort();
    }
    _root = name.data();
    scratchRoot = _root;
    atexit(removeScratch);
    for (const char* dir : {"home", "install"})
        mkdir(path(dir).c_str(), 0700);
    setenv("HOME", path("home").c_str(), 1);
    setenv("QUENTAR", path("install").c_str(), 1);
    tvopt::reset_option_reader();
    tvopt::set_tool_name("Lumox");
}

const FuzzScratch& FuzzScratch::instance()
{
    static FuzzScratch scratch;
    return scratch;
}

std::string fuzzReadFile(const std::string& path)
{
    std::string bytes;
    FILE* fp = fopen(path.c_str(), "rb");
    if (!fp)
        return bytes;
    char chunk[8192];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, fp)) > 0)
        bytes.append(chunk, n);
    fclose(fp);
    return bytes;
}

int fuzzWriteFile(const std::string& path, const void* data, size_t size)
{
    FILE* fp = fopen(path.c_str(), "wb");
    if (!fp)
        return -1;
    bool ok = size == 0 || fwrite(data, 1, size, fp) == size;
    ok = fclose(fp) == 0 && ok;
    return ok ? 0 : -1;
}

void fuzzFail(const std::string& message)
{
    std::string text = message + "\n";
    int fd = reportFd >= 0 ? reportFd : 2;
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    abort();
}
