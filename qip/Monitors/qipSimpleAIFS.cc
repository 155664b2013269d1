#include "qip/Monitors/qipSimpleAIFS.h"

#include <unistd.h>

#include <cassert>
#include <cerrno>

qipSimpleAIFS::qipSimpleAIFS()
{
    _scratch = new char[ScratchSize];
    assert(_scratch != 0);
    _buffer = new qipRBuffer(_scratch, ScratchSize);
    assert(_buffer != 0);
}

qipSimpleAIFS::~qipSimpleAIFS() { delete[] _scratch; }

int qipSimpleAIFS::read()
{
    assert(_fildes != -1);
    ssize_t n;
    do
        n = ::read(_fildes, _scratch, ScratchSize);
    while (n < 0 && errno == EINTR);
    _buffer->filled(n > 0 ? static_cast<int>(n) : 0);
    return static_cast<int>(n);
}

void qipSimpleAIFS::eventDetected()
{
    int r = read();
    _buffer->flush();
    if (r > 0) {
        triggered();
    } else {
        deactivate();
        // error() may destroy this stream: nothing may follow it.
        error();
    }
}
