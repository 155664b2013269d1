#include "app/suppressions/SuprRec.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/records/ZxErrMsg.h"
#include "options/options.h"


SuprRec::SuprRec(int tag, int severity, const char* filename, const char* classname)
    : _tag(tag), _severity(severity), _filename(nullptr), _classname(nullptr)
{
    set(_filename, filename);
    set(_classname, classname);
}

SuprRec::SuprRec(ZxErrMsg* m) : _tag(0), _severity(0), _filename(nullptr), _classname(nullptr)
{
    if (!m)
        return;
    const char* category = m->_errorCategory.text();
    if (strlen(category) > 6)
        _tag = atoi(category + 6);
    _severity = atoi(m->_severity.text());
    if (!m->_class.empty())
        set(_classname, m->_class.text());
    if (!m->_filename.empty()) {
        if (m->_filepath.empty()) {
            set(_filename, m->_filename.text());
        } else {
            size_t n = m->_filepath.length() + m->_filename.length() + 2;
            _filename = static_cast<char*>(malloc(n));
            if (_filename) {
                strcpy(_filename, m->_filepath.text());
                strcat(_filename, "/");
                strcat(_filename, m->_filename.text());
            }
        }
    }
}

SuprRec::SuprRec(const SuprRec& other)
    : _tag(other._tag), _severity(other._severity), _filename(nullptr), _classname(nullptr)
{
    set(_filename, other._filename);
    set(_classname, other._classname);
}

SuprRec& SuprRec::operator=(const SuprRec& other)
{
    if (this != &other) {
        _tag = other._tag;
        _severity = other._severity;
        set(_filename, other._filename);
        set(_classname, other._classname);
    }
    return *this;
}

SuprRec::~SuprRec()
{
    free(_filename);
    free(_classname);
}

const char* SuprRec::suprType(int severity)
{
    return ZxErrMsg::severityLetters(severity);
}

int SuprRec::severityOf(const char* token)
{
    if (!token)
        return 0;
    for (int s = 1; s <= MaxSeverity; ++s)
        if (tvopt::strieq(token, ZxErrMsg::severityLetters(s)))
            return s;
    return 0;
}

void SuprRec::set(char*& field, const char* text)
{
    // The copy comes first: `text` may be the field itself.
    char* copy = text ? strdup(text) : nullptr;
    free(field);
    field = copy;
}

int SuprRec::parse(const char* text)
{
    if (!text)
        return -1;
    char* copy = strdup(text);
    if (!copy)
        return -1;
    int r = extract(copy);
    free(copy);
    return r;
}

// A whole non-negative decimal number; -1 for anything else.
static int number(const char* token)
{
    if (!*token)
        return -1;
    for (const char* p = token; *p; ++p)
        if (*p < '0' || *p > '9')
            return -1;
    errno = 0;
    long n = strtol(token, nullptr, 10);
    return errno != 0 || n > SuprRec::MaxItem ? -1 : static_cast<int>(n);
}

int SuprRec::extract(char* text)
{
    if (!text)
        return -1;
    char* p = text;
    char* keyword = tvopt::fetch_token(&p);
    if (!keyword)
        return -1;
    for (; keyword; keyword = tvopt::fetch_token(&p)) {
        if (tvopt::option_matches(keyword, "all"))
            return 0;
        char* token = tvopt::fetch_token(&p);
        if (!token)
            return -1;
        if (tvopt::option_matches(keyword, "item")) {
            int n = number(token);
            if (n < 0)
                return -1;
            _tag = n;
        } else if (tvopt::option_matches(keyword, "type")) {
            int s = severityOf(tvopt::smush(token));
            if (s == 0)
                return -1;
            _severity = s;
        } else if (tvopt::option_matches(keyword, "file")) {
            set(_filename, token);
        } else if (tvopt::option_matches(keyword, "class")) {
            set(_classname, token);
        } else {
            return -1;
        }
    }
    return 0;
}

int SuprRec::streq(const char* pattern, const char* text)
{
    if (!pattern || !text)
        return 0;
    // Iterative glob: on a mismatch after a '*', let that star take one more
    // character and try again. O(N*M) at worst.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*text) {
        if (*pattern == '*') {
            star = pattern++;
            resume = text;
        } else if (*pattern == '?' || *pattern == *text) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return 0;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}
