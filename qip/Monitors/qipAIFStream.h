#pragma once

#include "qip/Monitors/qipFdActivity.h"
#include "qip/Monitors/qipRBuffer.h"

// An input stream over a descriptor: read() brings data into the record
// buffer, which the typed extractors then consume. It owns the buffer, not
// the array the buffer looks at (the subclasses own that) and not the
// descriptor.
class qipAIFStream : public qipFdActivity {
public:
    qipAIFStream() : _buffer(nullptr) {}
    ~qipAIFStream() override;

    const char* className() const override { return "qipAIFStream"; }

    // Reads what the subclass calls one unit; its size, 0 at end of stream,
    // or negative on failure.
    virtual int read() = 0;

    virtual qipAIFStream& operator>>(char& c);
    virtual qipAIFStream& operator>>(unsigned char& c);
    virtual qipAIFStream& operator>>(short& s);
    virtual qipAIFStream& operator>>(unsigned short& s);
    virtual qipAIFStream& operator>>(int& i);
    virtual qipAIFStream& operator>>(unsigned int& i);
    virtual qipAIFStream& operator>>(long& l);
    virtual qipAIFStream& operator>>(unsigned long& l);
    virtual qipAIFStream& operator>>(char* s);
    // `n` raw bytes; the buffer's result.
    virtual int get(char* dst, int n);

    // A text cut to fit `size` bytes (see qipRBuffer::getText).
    int getText(char* dst, int size);
    // The text at the cursor in a new buffer (the caller frees it), cut to
    // `declared` bytes including the NUL; null when the record holds no
    // complete text there.
    char* newText(int declared);

    qipRBuffer* buffer() const { return _buffer; }

protected:
    qipRBuffer* _buffer;
};
