#pragma once

// A window over a byte array that someone else owns: a read cursor
// (`_offset`), the end of the valid data (`_eob`) and the array's capacity.
class qipBuffer {
public:
    qipBuffer(char* buffer, int size) : _offset(0), _eob(0), _size(size), _buffer(buffer) {}

    // Moves the read cursor back to the start of the data.
    virtual void flush() { _offset = 0; }
    // Forgets the data.
    virtual void reset() { _offset = _eob = 0; }
    virtual ~qipBuffer() {}

    // Points the window at another array (the data is forgotten).
    void array(char* buffer, int size)
    {
        _buffer = buffer;
        _size = size;
        reset();
    }

    int offset() const { return _offset; }
    int eob() const { return _eob; }
    int size() const { return _size; }
    int remaining() const { return _eob - _offset; }
    const char* data() const { return _buffer; }

protected:
    int _offset;
    int _eob;
    int _size;
    char* _buffer;
};
