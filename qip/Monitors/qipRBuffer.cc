#include "qip/Monitors/qipRBuffer.h"

#include <cstdint>
#include <cstring>

void qipRBuffer::filled(int n)
{
    _offset = 0;
    _eob = n < 0 ? 0 : (n > _size ? _size : n);
}

int qipRBuffer::get(void* dst, int n)
{
    if (n < 0)
        return -1;
    int left = _eob - _offset;
    if (n > left)
        return left - n;
    memcpy(dst, _buffer + _offset, static_cast<size_t>(n));
    _offset += n;
    return n;
}

int qipRBuffer::get(char& c) { return get(static_cast<void*>(&c), 1); }
int qipRBuffer::get(unsigned char& c) { return get(static_cast<void*>(&c), 1); }
int qipRBuffer::get(short& s) { return get(static_cast<void*>(&s), 2); }
int qipRBuffer::get(unsigned short& s) { return get(static_cast<void*>(&s), 2); }
int qipRBuffer::get(int& i) { return get(static_cast<void*>(&i), 4); }
int qipRBuffer::get(unsigned int& i) { return get(static_cast<void*>(&i), 4); }

// A long travels as 4 bytes whatever the width of long here.
int qipRBuffer::get(long& l)
{
    int32_t v;
    int r = get(static_cast<void*>(&v), 4);
    if (r > 0)
        l = v;
    return r;
}

int qipRBuffer::get(unsigned long& l)
{
    uint32_t v;
    int r = get(static_cast<void*>(&v), 4);
    if (r > 0)
        l = v;
    return r;
}

int qipRBuffer::textSize() const
{
    int left = _eob - _offset;
    if (left <= 0)
        return -1;
    const void* nul = memchr(_buffer + _offset, '\0', static_cast<size_t>(left));
    if (!nul)
        return -1;
    return static_cast<int>(static_cast<const char*>(nul) - (_buffer + _offset)) + 1;
}

int qipRBuffer::get(char* dst)
{
    int n = textSize();
    if (n < 0)
        return -1;
    memcpy(dst, _buffer + _offset, static_cast<size_t>(n));
    _offset += n;
    return n;
}

int qipRBuffer::getText(char* dst, int size)
{
    int n = textSize();
    if (n < 0 || size <= 0)
        return -1;
    int keep = n - 1 < size - 1 ? n - 1 : size - 1;
    memcpy(dst, _buffer + _offset, static_cast<size_t>(keep));
    dst[keep] = '\0';
    _offset += n;
    return n;
}
