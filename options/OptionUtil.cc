#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "options/options.h"

namespace tvopt {

static int lower(char c) { return tolower(static_cast<unsigned char>(c)); }
static bool blank(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }

int is_true(const char* s)
{
    if (!s)
        return 0;
    char c = static_cast<char>(lower(s[0]));
    return c == 'y' || c == 't' || (c == 'o' && lower(s[1]) == 'n');
}

int is_false(const char* s)
{
    if (!s)
        return 0;
    char c = static_cast<char>(lower(s[0]));
    return c == 'n' || c == 'f' || (c == 'o' && lower(s[1]) == 'f');
}

char* smush(char* s)
{
    if (!s)
        return s;
    char* out = s;
    for (const char* in = s; *in; ++in)
        if (*in != '-' && *in != '_')
            *out++ = static_cast<char>(lower(*in));
    *out = '\0';
    return s;
}

int option_matches(const char* text, const char* keyword)
{
    if (!text || !keyword)
        return 0;
    while (blank(*text))
        ++text;
    const char* k = keyword;
    for (; *text && !blank(*text); ++text) {
        if (*text == '-' || *text == '_')
            continue;
        if (!*k || lower(*text) != lower(*k))
            return 0;
        ++k;
    }
    return *k == '\0';
}

char* fetch_token(char** p)
{
    if (!p || !*p)
        return nullptr;
    char* s = *p;
    while (blank(*s))
        ++s;
    if (!*s) {
        *p = s;
        return nullptr;
    }
    char* e = s;
    while (*e && !blank(*e))
        ++e;
    if (*e)
        *e++ = '\0';
    *p = e;
    return s;
}

int streq(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    return strcmp(a, b) == 0;
}

int strieq(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    return stricmp(a, b) == 0;
}

int stricmp(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        int d = lower(*a) - lower(*b);
        if (d != 0 || !*a)
            return d;
    }
}

int strnicmp(const char* a, const char* b, size_t n)
{
    for (; n > 0; --n, ++a, ++b) {
        int d = lower(*a) - lower(*b);
        if (d != 0 || !*a)
            return d;
    }
    return 0;
}

char* abs_path(const char* path)
{
    if (!path || !*path)
        return nullptr;
    std::string full;
    if (path[0] != '/') {
        std::vector<char> cwd(4096);
        if (!getcwd(cwd.data(), cwd.size()))
            return nullptr;
        full = cwd.data();
        full += '/';
    }
    full += path;

    // Resolve "." and ".." by text: the path need not exist.
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= full.size()) {
        size_t j = full.find('/', i);
        if (j == std::string::npos)
            j = full.size();
        std::string part = full.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += "/" + p;
    if (out.empty())
        out = "/";
    return strdup(out.c_str());
}

// The path with every symbolic link and "." or ".." resolved: realpath() of
// the file, or of its directory with the last part added when the file is
// not there yet, or abs_path() when even the directory is missing.
static std::string canonical_path(const char* path)
{
    if (char* real = realpath(path, nullptr)) {
        std::string out = real;
        free(real);
        return out;
    }
    char* abs = abs_path(path);
    if (!abs)
        return path;
    std::string whole = abs;
    free(abs);
    size_t slash = whole.rfind('/');
    std::string dir = slash == 0 ? "/" : whole.substr(0, slash);
    if (char* real = realpath(dir.c_str(), nullptr)) {
        std::string out = real;
        free(real);
        return (out == "/" ? "" : out) + whole.substr(slash);
    }
    return whole;
}

int same_file(const char* a, const char* b)
{
    if (!a || !b || !*a || !*b)
        return 0;
    if (strcmp(a, b) == 0)
        return 1;
    struct stat sa, sb;
    const bool hasA = stat(a, &sa) == 0, hasB = stat(b, &sb) == 0;
    if (hasA && hasB)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // A file yet to be made is known by its place alone; one that is there
    // is never the same as one that is not.
    if (hasA || hasB)
        return 0;
    return canonical_path(a) == canonical_path(b);
}

const char* basename(const char* path)
{
    if (!path)
        return nullptr;
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

}  // namespace tvopt
