#include "app/records/ConxnMsg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qip/Monitors/qipAIFStream.h"

ConxnMsg::ConxnMsg(long token) : NetMsg(token), _status(1) {}

int ConxnMsg::extract(char* header)
{
    char* cursor = header;
    _type.extract(cursor);
    _pid.extract(cursor);
    _filename.extract(cursor);
    _uid.extract(cursor);
    _host.extract(cursor);
    int r = _time.extract(cursor);
    if (_token == 0)
        _token = atol(_pid.text());
    return r;
}

char* ConxnMsg::inject()
{
    size_t size = 13 + _type.length() + _pid.length() + _filename.length() + _uid.length() + _host.length() +
                  _time.length();
    char* header = static_cast<char*>(malloc(size));
    if (!header)
        return nullptr;
    snprintf(header, size, "<%s><%s><%s><%s><%s><%s>", _type.text(), _pid.text(), _filename.text(), _uid.text(),
             _host.text(), _time.text());
    return header;
}

const char* ConxnMsg::id() { return _text ? _text : constructId(); }

const char* ConxnMsg::constructId()
{
    char buf[1024];
    const char* type = _type.text();
    if (strcmp(type, "Do_mpf") == 0)
        snprintf(buf, sizeof buf, "Torvane: Instrumenting \"%s\" on %s, pid=%s", _filename.text(), _host.text(),
                 _pid.text());
    else if (strcmp(type, "Runtime") == 0)
        snprintf(buf, sizeof buf, "Runtime: Executing \"%s\" on %s, pid=%s", _filename.text(), _host.text(),
                 _pid.text());
    else if (strcmp(type, "Zentrix") == 0)
        snprintf(buf, sizeof buf, "Zentrix: Analyzing \"%s\" on %s, pid=%s", _filename.text(), _host.text(),
                 _pid.text());
    else
        snprintf(buf, sizeof buf, "Unknown client: signature=\"%s\", tag=\"%s\" on %s, pid=%s", type,
                 _filename.text(), _host.text(), _pid.text());
    text(buf);
    return _text ? _text : "";
}

qipAIFStream& operator>>(qipAIFStream& in, ConxnMsg& m)
{
    int headerLength = 0;
    if (in.buffer()->get(headerLength) < 0)
        return in;
    char* header = in.newText(headerLength);
    if (!header)
        return in;
    m.extract(header);
    free(header);
    return in;
}
