#include "tools/lumox-run/Finding.h"

#include <unistd.h>

#include <cstring>

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

bool contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// Functions of the checkers' runtimes and of the C library that stand
// between the user's code and the fault: allocators, interceptors, start-up.
bool isRuntimeFunction(const std::string& fn)
{
    static const char* const prefixes[] = {"__interceptor_", "__asan", "__lsan", "__ubsan", "__tsan", "__msan",
                                           "__sanitizer", "__interception", "___interceptor_", "__GI_", "__libc_",
                                           "_start", "__cxa_", "operator new", "operator delete", "_dl_",
                                           "__pthread", "start_thread", "clone", "vgPlain_", "_vgr", "_vgw"};
    for (const char* p : prefixes)
        if (startsWith(fn, p))
            return true;
    static const char* const names[] = {"malloc", "calloc", "realloc", "free", "strdup", "strndup", "memcpy",
                                        "memmove", "memset", "strcpy", "strlen", "pthread_create", "abort",
                                        "raise", "posix_memalign", "aligned_alloc", "valloc", "memalign"};
    for (const char* n : names)
        if (fn == n)
            return true;
    return false;
}

bool isSystemFile(const std::string& file)
{
    return startsWith(file, "/usr/include/") || startsWith(file, "/usr/lib/") || startsWith(file, "/usr/src/")
           || startsWith(file, "/usr/local/include/") || contains(file, "libsanitizer/")
           || contains(file, "compiler-rt/") || contains(file, "sysdeps/") || startsWith(file, "../csu/")
           || startsWith(file, "csu/") || contains(file, "/bits/") || contains(file, "valgrind/");
}

bool isSystemModule(const std::string& module)
{
    if (module.empty())
        return false;
    std::string base = module.substr(module.rfind('/') == std::string::npos ? 0 : module.rfind('/') + 1);
    static const char* const libs[] = {"libc.so", "libc-", "libm.so", "libstdc++", "libgcc_s", "libasan",
                                       "libubsan", "libtsan", "liblsan", "ld-linux", "libpthread", "vgpreload_",
                                       "libclang_rt", "libc++"};
    for (const char* l : libs)
        if (startsWith(base, l))
            return true;
    return startsWith(module, "/lib/") || startsWith(module, "/lib64/") || startsWith(module, "/usr/lib/")
           || startsWith(module, "/usr/libexec/valgrind/");
}

}  // namespace

void Finding::addStack(std::vector<Frame> frames)
{
    if (!frames.empty())
        body.push_back(BodyPart{std::string(), std::move(frames)});
}

bool isUserFrame(const Frame& f)
{
    return !f.file.empty() && f.line > 0 && !isRuntimeFunction(f.function) && !isSystemFile(f.file)
           && !isSystemModule(f.module);
}

bool locate(const Finding& f, std::string& file, int& line)
{
    if (!f.file.empty()) {
        file = f.file;
        line = f.line;
        return true;
    }
    const Frame* fallback = nullptr;
    for (const BodyPart& p : f.body)
        for (const Frame& fr : p.frames) {
            if (isUserFrame(fr)) {
                file = fr.file;
                line = fr.line;
                return true;
            }
            if (!fallback && !fr.file.empty() && fr.line > 0)
                fallback = &fr;
        }
    if (!fallback)
        return false;
    file = fallback->file;
    line = fallback->line;
    return true;
}

std::string messageBody(const Finding& f)
{
    std::string out;
    for (const BodyPart& p : f.body) {
        if (!out.empty())
            out += '\n';
        if (!p.isStack()) {
            out += p.text;
            continue;
        }
        out += "<BEGINSTACKTRACE>\n";
        // Frames stand four blanks in, under the line that introduces their
        // stack, as the checkers print them.
        const std::string in = "    ";
        for (const Frame& fr : p.frames) {
            // The trace syntax ends the file at ':' and the prefix at '>':
            // such a file cannot be opened from here, so it is shown instead.
            bool openable = fr.openable && !fr.file.empty() && fr.line > 0
                            && fr.file.find_first_of(":>") == std::string::npos;
            if (openable)
                out += "<" + fr.file + ":" + std::to_string(fr.line) + ">" + in + fr.label + "\n";
            else if (!fr.file.empty())
                out += in + fr.label + "  " + fr.file + (fr.line > 0 ? ":" + std::to_string(fr.line) : "") + "\n";
            else if (!fr.module.empty())
                out += in + fr.label + "  (" + fr.module + ")\n";
            else
                out += in + fr.label + "\n";
        }
        out += "<ENDSTACKTRACE>";
    }
    return out;
}

void resolvePaths(Finding& f, const std::string& cwd)
{
    auto resolve = [&cwd](std::string& file) {
        if (file.empty() || file[0] == '/' || cwd.empty())
            return true;
        std::string full = cwd + "/" + file;
        if (access(full.c_str(), F_OK) != 0)
            return false;
        file = full;
        return true;
    };
    resolve(f.file);
    for (BodyPart& p : f.body)
        for (Frame& fr : p.frames)
            fr.openable = resolve(fr.file);
}

std::string messageThread(const Finding& f) { return f.thread.empty() ? "0" : f.thread; }
