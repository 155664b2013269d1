#pragma once

#include <cstddef>

// One owned, NUL-terminated text of a message record. It is null until first
// set; setting it from a null text keeps the old value, and when memory runs
// out the old value stays too. Copies duplicate the text.
class Field {
public:
    Field() : _buf(nullptr) {}
    Field(const Field& other);
    Field& operator=(const Field& other);
    Field& operator=(const char* s)
    {
        set(s);
        return *this;
    }
    ~Field();

    // Replaces the text by a copy of `s`; 0, or -1 when `s` is null or memory
    // runs out (the old text stays).
    int set(const char* s);
    // The same with at most `n` bytes of `s`.
    int set(const char* s, size_t n);

    // Parses one bracketed field "<text>" at `cursor`, writing a NUL over the
    // closing bracket; 0 and the cursor after the bracket, or -1 and an empty
    // field (the cursor stays at the bad character, or after a lone '<').
    int extract(char*& cursor);

    // The text, or "" while the field is unset; never null.
    const char* text() const { return _buf ? _buf : ""; }
    operator const char*() const { return text(); }
    // The owned buffer itself: null while the field is unset.
    const char* buf() const { return _buf; }
    bool isSet() const { return _buf != nullptr; }
    bool empty() const { return !_buf || !*_buf; }
    size_t length() const;

private:
    char* _buf;
};

