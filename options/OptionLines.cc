#include "options/OptionLines.h"

#include <cctype>
#include <cstring>

namespace tvopt {

static bool blank(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }

// The length of the physical line at `from`, its newline included.
static size_t physicalLength(const char* text, size_t length, size_t from)
{
    const void* nl = memchr(text + from, '\n', length - from);
    return nl ? static_cast<size_t>(static_cast<const char*>(nl) - (text + from)) + 1 : length - from;
}

// Where an option's name begins: after leading blanks, one '!' and the
// blanks after it.
static size_t nameStart(const char* line, size_t length)
{
    size_t k = 0;
    while (k < length && blank(line[k]))
        ++k;
    if (k < length && line[k] == '!') {
        ++k;
        while (k < length && blank(line[k]))
            ++k;
    }
    return k;
}

static bool beginsOption(const char* line, size_t length)
{
    size_t k = nameStart(line, length);
    return k < length && isalpha(static_cast<unsigned char>(line[k])) != 0;
}

OptionLines::OptionLines(const char* text, size_t length)
    : _text(text), _length(text ? length : 0), _pos(0), _lineNo(0)
{
}

bool OptionLines::continues(const char* line, size_t length)
{
    while (length > 0 && blank(line[length - 1]))
        --length;
    return length > 0 && line[length - 1] == '\\';
}

bool OptionLines::next(Line& line)
{
    if (_pos >= _length)
        return false;
    line.begin = _pos;
    line.first = ++_lineNo;
    size_t n = physicalLength(_text, _length, _pos);
    line.option = beginsOption(_text + _pos, n);
    bool more = line.option && continues(_text + _pos, n);
    _pos += n;
    while (more && _pos < _length) {
        ++_lineNo;
        n = physicalLength(_text, _length, _pos);
        more = continues(_text + _pos, n);
        _pos += n;
    }
    line.open = more;
    line.last = _lineNo;
    line.end = _pos;
    line.broken = line.option && memchr(_text + line.begin, '\0', line.end - line.begin) != nullptr;
    return true;
}

std::string OptionLines::optionText(const Line& line) const
{
    std::string text;
    size_t pos = line.begin;
    pos += nameStart(_text + pos, line.end - pos);
    while (pos < line.end) {
        size_t n = physicalLength(_text, line.end, pos);
        if (continues(_text + pos, n)) {
            size_t cut = n;
            while (blank(_text[pos + cut - 1]))
                --cut;
            text.append(_text + pos, cut - 1);
            text += ' ';
        } else {
            text.append(_text + pos, _text[pos + n - 1] == '\n' ? n - 1 : n);
        }
        pos += n;
    }
    return text;
}

}  // namespace tvopt
