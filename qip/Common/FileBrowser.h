#pragma once

#include <cstdio>
#include <ostream>

// One line of a browsed file: where it starts, how many tabs it holds, and
// its text with the tabs expanded once it has been read (owned by the
// browser that made the entry).
struct FileLine {
    long _offset;
    int _tabs;
    int _len;
    char* _src;
};

// Read-only access to a text file by line number. open() scans the file once
// into a table of line start offsets; getLine() reads a line on first demand,
// expands its tabs to multiples of 8 columns and keeps the text, so each line
// is read from the file at most once per scan. The browser owns the open
// file, its name and the line texts.
class FileBrowser {
public:
    FileBrowser();
    ~FileBrowser();

    // Opens `name` for reading and scans it; 0, or -1 for a null or empty
    // name, a file that cannot be opened, or no memory. A file open before is
    // closed either way.
    int open(const char* name);
    // Closes the file and forgets its name and lines; 0.
    int close();
    // Builds the line table from the current file position; 0, or -1 when
    // memory runs out.
    int scan();
    // The expanded text of line `n` (from 0) and its length; null with `len`
    // 0 when there is no such line or it cannot be read.
    char* getLine(long n, int& len);
    // Searching is not offered; always 0.
    int search(const char* text);

    bool isOpen() const { return _fp != nullptr; }
    const char* filename() const { return _filename; }
    long nLines() const { return _nLines; }
    // The longest distance in bytes between two line starts (a line with its
    // newline); the last line counts up to the end of the file.
    long maxLineSz() const { return _maxLineSz; }
    // The widest line in columns, tabs expanded.
    long maxWidth() const { return _maxWidth; }
    // How many lines were read from the file since it was opened.
    long linesRead() const { return _linesRead; }
    const FileLine* line(long n) const { return n >= 0 && n < _nLines ? &_lines[n] : nullptr; }

    friend std::ostream& operator<<(std::ostream& out, const FileBrowser& b);

private:
    void freeLines();
    // Reads line `n` from the file into its entry; 0 or -1.
    int readLine(long n);

    FILE* _fp;
    char* _filename;
    long _nLines;
    FileLine* _lines;
    long _maxLineSz;
    long _maxWidth;
    long _fileSize;
    long _linesRead;

    FileBrowser(const FileBrowser&) = delete;
    FileBrowser& operator=(const FileBrowser&) = delete;
};
