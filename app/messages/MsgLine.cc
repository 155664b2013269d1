#include "app/messages/MsgLine.h"

#include <cstdlib>
#include <cstring>

#include "qip/Common/ExternalBrowser.h"

TraceLine::TraceLine(char* line) : MsgLine(line), _filename(nullptr), _lineno(nullptr)
{
    if (line[0] != '<')
        return;
    _filename = line + 1;
    char* colon = strchr(_filename, ':');
    if (!colon)
        return;
    *colon = '\0';
    _lineno = colon + 1;
    char* close = strchr(_lineno, '>');
    if (!close)
        return;
    *close = '\0';
    _text = close + 1;
    if (!*_filename)
        return;
    _shown = _text;
    if (!_shown.empty())
        _shown += "  ";
    _shown += _filename;
    if (*_lineno && strcmp(_lineno, "0") != 0)
        _shown += std::string(":") + _lineno;
    _text = &_shown[0];
}

void TraceLine::activate()
{
    if (!_filename || !*_filename)
        return;
    char* copy = strdup(_filename);
    if (!copy)
        return;
    char* slash = strrchr(copy, '/');
    const char* dir = "";
    const char* file = copy;
    if (slash) {
        *slash = '\0';
        dir = copy;
        file = slash + 1;
    }
    ExternalBrowser::browse(const_cast<char*>(dir), const_cast<char*>(file), _lineno ? atoi(_lineno) : 0);
    free(copy);
}
