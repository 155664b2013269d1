#pragma once

#include <cstddef>
#include <string>

namespace tvopt {

// The one statement of what makes an option line. The option reader takes
// its options by these rules, and every program that rewrites an option file
// (the suppression save) cuts the file by them, so that the two never
// disagree on where an option begins and ends:
//  - A physical line ends at '\n' or at the end of the text. There is no
//    length limit: a line is read whole, however long.
//  - A line whose first non-blank character, after one optional '!', is a
//    letter begins an option. Any other line (blank, "#...", anything else)
//    is a comment: it stands alone and never continues.
//  - An option whose physical line ends in '\' (blanks after it do not
//    count) continues on the next physical line, whatever that holds; the
//    backslash reads as a blank. The end of the text ends an option that
//    would still continue.
//  - A NUL byte is an ordinary byte for the rules above, but an option that
//    holds one is broken: the reader passes over all its lines, and a
//    rewrite keeps them as they stand.
// It scans text it does not own; the text must outlive the scan.
class OptionLines {
public:
    // One logical line: its bytes [begin, end) of the text, newlines
    // included, and its physical lines first..last, counted from 1.
    struct Line {
        size_t begin;
        size_t end;
        long first;
        long last;
        bool option;  // begins an option; false for a comment
        bool broken;  // an option holding a NUL byte
        bool open;    // an option whose last line still continues: the text ended first
    };

    OptionLines(const char* text, size_t length);

    // The next logical line in text order; false at the end of the text.
    bool next(Line& line);
    // An option's text as the reader takes it, on one line: the blanks and
    // '!' before its name dropped, its physical lines joined, each continuing
    // backslash (and the blanks and newline after it) turned into a blank.
    std::string optionText(const Line& line) const;

    // Would a physical line (its newline may be included) that belongs to an
    // option continue on the next? A writer must not end an option with one.
    static bool continues(const char* line, size_t length);

private:
    const char* _text;
    size_t _length;
    size_t _pos;
    long _lineNo;
};

}  // namespace tvopt
