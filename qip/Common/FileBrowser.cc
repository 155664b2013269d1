#include "qip/Common/FileBrowser.h"

#include <cstdlib>
#include <cstring>

// Tabs stop at every multiple of this many columns.
static const int TabWidth = 8;

static long nextTabStop(long column) { return (column / TabWidth + 1) * TabWidth; }

FileBrowser::FileBrowser()
    : _fp(nullptr), _filename(nullptr), _nLines(0), _lines(nullptr), _maxLineSz(0), _maxWidth(0), _fileSize(0),
      _linesRead(0)
{
}

FileBrowser::~FileBrowser() { close(); }

int FileBrowser::open(const char* name)
{
    if (!name || !*name)
        return -1;
    close();
    _fp = fopen(name, "r");
    if (!_fp)
        return -1;
    _filename = strdup(name);
    if (!_filename) {
        close();
        return -1;
    }
    return scan();
}

int FileBrowser::close()
{
    if (_fp)
        fclose(_fp);
    _fp = nullptr;
    free(_filename);
    _filename = nullptr;
    // Without the file the table could not be read from any more.
    freeLines();
    return 0;
}

void FileBrowser::freeLines()
{
    for (long i = 0; i < _nLines; ++i)
        free(_lines[i]._src);
    free(_lines);
    _lines = nullptr;
    _nLines = 0;
    _maxLineSz = 0;
    _maxWidth = 0;
    _fileSize = 0;
    _linesRead = 0;
}

int FileBrowser::scan()
{
    if (!_fp)
        return -1;
    long pos = ftell(_fp);
    if (pos < 0)
        pos = 0;
    long capacity = 64, count = 0;
    FileLine* entries = static_cast<FileLine*>(malloc(capacity * sizeof(FileLine)));
    if (!entries)
        return -1;
    entries[count++] = FileLine{pos, 0, 0, nullptr};
    long lineStart = pos, maxSz = 0, maxWidth = 0, column = 0;
    int tabs = 0;
    for (int c; (c = getc(_fp)) != EOF;) {
        ++pos;
        if (c == '\t') {
            ++tabs;
            column = nextTabStop(column);
        } else if (c == '\n') {
            if (pos - lineStart > maxSz)
                maxSz = pos - lineStart;
            if (column > maxWidth)
                maxWidth = column;
            entries[count - 1]._tabs = tabs;
            tabs = 0;
            column = 0;
            lineStart = pos;
            if (count == capacity) {
                FileLine* more = static_cast<FileLine*>(realloc(entries, 2 * capacity * sizeof(FileLine)));
                if (!more) {
                    free(entries);
                    return -1;
                }
                entries = more;
                capacity *= 2;
            }
            entries[count++] = FileLine{pos, 0, 0, nullptr};
        } else {
            ++column;
        }
    }
    // A last line without a newline is a line all the same.
    entries[count - 1]._tabs = tabs;
    if (pos - lineStart > maxSz)
        maxSz = pos - lineStart;
    if (column > maxWidth)
        maxWidth = column;

    FileLine* table = static_cast<FileLine*>(realloc(entries, count * sizeof(FileLine)));
    if (!table) {
        free(entries);
        return -1;
    }
    freeLines();
    _lines = table;
    _nLines = count;
    _maxLineSz = maxSz;
    _maxWidth = maxWidth;
    _fileSize = pos;
    return 0;
}

char* FileBrowser::getLine(long n, int& len)
{
    len = 0;
    if (!_lines || n < 0 || n >= _nLines)
        return nullptr;
    if (!_lines[n]._src && readLine(n) != 0)
        return nullptr;
    len = _lines[n]._len;
    return _lines[n]._src;
}

int FileBrowser::readLine(long n)
{
    if (!_fp)
        return -1;
    FileLine& line = _lines[n];
    long size = (n + 1 < _nLines ? _lines[n + 1]._offset : _fileSize) - line._offset;
    if (size < 0)
        size = 0;
    long capacity = size + (TabWidth - 1) * static_cast<long>(line._tabs) + 1;
    char* text = static_cast<char*>(malloc(capacity));
    if (!text)
        return -1;
    if (fseek(_fp, line._offset, SEEK_SET) != 0) {
        free(text);
        return -1;
    }
    // The bounds hold even when the file changed on disk since the scan.
    long out = 0;
    for (long in = 0; in < size; ++in) {
        int c = getc(_fp);
        if (c == EOF || c == '\n')
            break;
        if (c == '\t') {
            long stop = nextTabStop(out);
            if (stop > capacity - 1)
                break;
            while (out < stop)
                text[out++] = ' ';
        } else {
            if (out >= capacity - 1)
                break;
            text[out++] = static_cast<char>(c);
        }
    }
    text[out] = '\0';
    line._src = text;
    line._len = static_cast<int>(out);
    ++_linesRead;
    return 0;
}

int FileBrowser::search(const char*) { return 0; }

std::ostream& operator<<(std::ostream& out, const FileBrowser& b)
{
    out << " Line info dump for file " << (b._filename ? b._filename : "") << "\n";
    for (long i = 0; i < b._nLines; ++i)
        out << "    Line " << i << ":   offset=" << b._lines[i]._offset << "\n";
    return out;
}
