#include "app/records/Field.h"

#include <cstdlib>
#include <cstring>

Field::Field(const Field& other) : _buf(nullptr) { set(other._buf); }

Field& Field::operator=(const Field& other)
{
    if (this != &other)
        set(other._buf);
    return *this;
}

Field::~Field() { free(_buf); }

int Field::set(const char* s)
{
    if (!s)
        return -1;
    return set(s, strlen(s));
}

int Field::set(const char* s, size_t n)
{
    if (!s)
        return -1;
    n = strnlen(s, n);
    char* copy = static_cast<char*>(malloc(n + 1));
    if (!copy)
        return -1;
    memcpy(copy, s, n);
    copy[n] = '\0';
    free(_buf);
    _buf = copy;
    return 0;
}

size_t Field::length() const { return _buf ? strlen(_buf) : 0; }

int Field::extract(char*& cursor)
{
    if (!cursor || *cursor != '<') {
        set("");
        return -1;
    }
    ++cursor;
    char* close = strchr(cursor, '>');
    if (!close) {
        set("");
        return -1;
    }
    *close = '\0';
    set(cursor);
    cursor = close + 1;
    return 0;
}

