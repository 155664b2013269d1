#include "app/records/NetMsg.h"

#include <cstdlib>
#include <cstring>

NetMsg::NetMsg(const NetMsg& other) : _token(other._token), _indent(other._indent), _text(nullptr)
{
    if (other._text)
        _text = strdup(other._text);
}

NetMsg& NetMsg::operator=(const NetMsg& other)
{
    if (this == &other)
        return *this;
    _indent = other._indent;
    text(other.text());
    return *this;
}

NetMsg::~NetMsg() { free(_text); }

void NetMsg::text(const char* s)
{
    if (!s)
        return;
    char* copy = strdup(s);
    // Out of memory keeps the old summary.
    if (!copy)
        return;
    free(_text);
    _text = copy;
}
