#include "app/records/ZxErrHdr.h"

#include <cstdlib>
#include <cstring>

#include "app/records/ZxErrMsg.h"
#include "qip/Monitors/qipAIFStream.h"

ZxErrHdr::ZxErrHdr(long token) : _token(token), _header(nullptr), _body(nullptr), _bodySz(0), _count(0) {}

ZxErrHdr::~ZxErrHdr()
{
    free(_header);
    free(_body);
}

int ZxErrHdr::read(qipAIFStream& in)
{
    int headerLength = 0;
    if (in.buffer()->get(headerLength) < 0)
        return -1;
    char* header = in.newText(headerLength);
    if (!header)
        return -1;
    free(_header);
    _header = header;
    // The body may hold several strings: it is read as raw bytes, never more
    // than the frame holds.
    int bodyLength = 0;
    int size = 0;
    if (in.buffer()->get(bodyLength) >= 0 && bodyLength > 0) {
        int left = in.buffer()->remaining();
        size = bodyLength < left ? bodyLength : left;
    }
    char* body = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
    if (!body)
        return -1;
    if (size > 0 && in.get(body, size) < 0)
        size = 0;
    body[size] = '\0';
    free(_body);
    _body = body;
    _bodySz = size;
    parseName();
    return 0;
}

int ZxErrHdr::set(const char* header, const char* body, int bodySize)
{
    if (!header || bodySize < 0 || (bodySize > 0 && !body))
        return -1;
    char* h = strdup(header);
    char* b = static_cast<char*>(malloc(static_cast<size_t>(bodySize) + 1));
    if (!h || !b) {
        free(h);
        free(b);
        return -1;
    }
    if (bodySize > 0)
        memcpy(b, body, static_cast<size_t>(bodySize));
    b[bodySize] = '\0';
    free(_header);
    free(_body);
    _header = h;
    _body = b;
    _bodySz = bodySize;
    parseName();
    return 0;
}

void ZxErrHdr::parseName()
{
    _count = 0;
    char* copy = strdup(_header ? _header : "");
    if (!copy)
        return;
    char* cursor = copy;
    _name.extract(cursor);
    Field count;
    if (count.extract(cursor) == 0)
        _count = atoi(count.text());
    free(copy);
}

int ZxErrHdr::kind() const
{
    const char* n = _name.text();
    if (strcmp(n, "command line") == 0)
        return CommandLine;
    if (strcmp(n, "environment") == 0)
        return Environment;
    if (strcmp(n, "cwd") == 0)
        return Cwd;
    return Violation;
}

ZxErrMsg* ZxErrHdr::message() const
{
    if (kind() != Violation || !_header)
        return nullptr;
    char* copy = strdup(_header);
    if (!copy)
        return nullptr;
    ZxErrMsg* m = new ZxErrMsg(_token);
    m->extract(copy);
    free(copy);
    m->setBody(_body ? _body : "");
    return m;
}
