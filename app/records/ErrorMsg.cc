#include "app/records/ErrorMsg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/records/SourceOpener.h"
#include "qip/Monitors/qipAIFStream.h"

namespace {
// Summary lines are composed in a buffer of this size and cut to fit.
}  // namespace

ErrorMsg::ErrorMsg(long token) : NetMsg(token), _bodySz(0), _status(New), _suppressed(No) {}

int ErrorMsg::extractFileName(Field& path, Field& name, char separator, char*& cursor)
{
    Field whole;
    if (whole.extract(cursor) != 0) {
        path.set("");
        name.set("");
        return -1;
    }
    const char* text = whole.text();
    const char* cut = strrchr(text, separator);
    if (!cut) {
        path.set("");
        name.set(text);
    } else {
        path.set(text, static_cast<size_t>(cut - text));
        name.set(cut + 1);
    }
    return 0;
}

int ErrorMsg::extract(char* header)
{
    char* cursor = header;
    return extractFields(cursor);
}

int ErrorMsg::extractFields(char*& cursor)
{
    // A bad bracket leaves its field empty and parsing goes on.
    _msgSrc.extract(cursor);
    _host.extract(cursor);
    _date.extract(cursor);
    _time.extract(cursor);
    _pid.extract(cursor);
    _tid.extract(cursor);
    _errorCategory.extract(cursor);
    extractFileName(_filepath, _filename, '/', cursor);
    return _lineno.extract(cursor);
}

char* ErrorMsg::inject()
{
    const Field* parts[] = {&_msgSrc, &_host,     &_date,     &_time,     &_pid,
                            &_tid,    &_errorCategory, &_filepath, &_filename, &_lineno};
    size_t size = 20;
    for (const Field* f : parts)
        size += f->length();
    char* header = static_cast<char*>(malloc(size));
    if (!header)
        return nullptr;
    snprintf(header, size, "<%s><%s><%s><%s><%s><%s><%s><%s/%s><%s>", _msgSrc.text(), _host.text(),
             _date.text(), _time.text(), _pid.text(), _tid.text(), _errorCategory.text(), _filepath.text(),
             _filename.text(), _lineno.text());
    return header;
}

void ErrorMsg::body(const char* text, int size)
{
    _body.set(text);
    _bodySz = size;
}

void ErrorMsg::location(const char*& file, char& separator, const char*& line) const
{
    file = _filename.text();
    separator = ':';
    if (!*file || strcmp(file, "unknown") == 0) {
        file = "";
        separator = ' ';
    }
    line = _lineno.text();
    if (!*line || strcmp(line, "unknown") == 0) {
        line = "";
        separator = ' ';
    }
}

const char* ErrorMsg::id()
{
    if (_text)
        return _text;
    const char *file, *line;
    char separator;
    location(file, separator, line);
    char buf[LineSize];
    if (_tid.text()[0] != '0')
        snprintf(buf, sizeof buf, "   %-27s Thread: %-5s %s %c %s", _errorCategory.text(), _tid.text(), file,
                 separator, line);
    else
        snprintf(buf, sizeof buf, "   %-40s %s %c %s", _errorCategory.text(), file, separator, line);
    text(buf);
    return _text ? _text : "";
}

int ErrorMsg::activate()
{
    if (_filename.empty() || strcmp(_filename.text(), "unknown") == 0)
        return -1;
    int line = atoi(_lineno.text());
    if (line < 0)
        line = 0;
    if (SourceOpener* opener = SourceOpener::current())
        opener->open(_filepath.text(), _filename.text(), line);
    return 0;
}

qipAIFStream& operator>>(qipAIFStream& in, ErrorMsg& m)
{
    int headerLength = 0;
    int bodyLength = 0;
    if (in.buffer()->get(headerLength) < 0)
        return in;
    char* header = in.newText(headerLength);
    if (!header)
        return in;
    char* body = nullptr;
    if (in.buffer()->get(bodyLength) >= 0)
        body = in.newText(bodyLength);
    m.extract(header);
    if (body)
        m.body(body, bodyLength);
    free(header);
    free(body);
    return in;
}
