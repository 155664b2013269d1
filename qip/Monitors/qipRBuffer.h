#pragma once

#include "qip/Monitors/qipBuffer.h"

// The read side of a record buffer: typed reads from the cursor on. Fields
// follow each other without padding in host byte order: char 1 byte, short 2,
// int and long 4, a text up to and including its NUL. A read that needs more
// bytes than remain copies nothing, leaves the cursor and returns the
// shortfall (remaining minus requested, negative); a successful read returns
// the number of bytes it consumed.
class qipRBuffer : public qipBuffer {
public:
    qipRBuffer(char* buffer, int size) : qipBuffer(buffer, size) {}

    // Marks the first `n` bytes of the array as the data; the cursor goes to 0.
    virtual void filled(int n);
    virtual int get(char& c);
    virtual int get(unsigned char& c);
    virtual int get(short& s);
    virtual int get(unsigned short& s);
    virtual int get(int& i);
    virtual int get(unsigned int& i);
    virtual int get(long& l);
    virtual int get(unsigned long& l);
    // A whole text, when its NUL lies inside the data; `dst` must have room.
    virtual int get(char* dst);
    // `n` raw bytes.
    virtual int get(void* dst, int n);

    // A text into `dst` of `size` bytes: when its NUL lies inside the data the
    // whole text is consumed and at most size-1 bytes of it are kept, always
    // NUL-terminated. The bytes consumed, or -1 (nothing consumed) when the
    // text has no NUL before the end of the data.
    int getText(char* dst, int size);
    // The length of the text at the cursor including its NUL, or -1 when its
    // NUL does not lie inside the data.
    int textSize() const;
};
