#include "qip/Monitors/qipAIFStream.h"

#include <cassert>
#include <cstdlib>

qipAIFStream::~qipAIFStream() { delete _buffer; }

qipAIFStream& qipAIFStream::operator>>(char& c)
{
    _buffer->get(c);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(unsigned char& c)
{
    _buffer->get(c);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(short& s)
{
    _buffer->get(s);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(unsigned short& s)
{
    _buffer->get(s);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(int& i)
{
    _buffer->get(i);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(unsigned int& i)
{
    _buffer->get(i);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(long& l)
{
    _buffer->get(l);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(unsigned long& l)
{
    _buffer->get(l);
    return *this;
}

qipAIFStream& qipAIFStream::operator>>(char* s)
{
    _buffer->get(s);
    return *this;
}

int qipAIFStream::get(char* dst, int n) { return _buffer->get(static_cast<void*>(dst), n); }

int qipAIFStream::getText(char* dst, int size) { return _buffer->getText(dst, size); }

char* qipAIFStream::newText(int declared)
{
    int present = _buffer->textSize();
    if (present < 0)
        return nullptr;
    // Never more than the record holds, whatever the sender declared.
    int size = declared < present ? declared : present;
    if (size < 1)
        size = 1;
    char* text = static_cast<char*>(malloc(static_cast<size_t>(size)));
    assert(text != 0);
    _buffer->getText(text, size);
    return text;
}
