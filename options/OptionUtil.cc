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

const char* basename(const char* path)
{
    if (!path)
        return nullptr;
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

}  // namespace tvopt
