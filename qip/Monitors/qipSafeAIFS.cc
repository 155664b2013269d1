#include "qip/Monitors/qipSafeAIFS.h"

#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

int qipSafeAIFS::readRest(char* dst, int n)
{
    int got = 0;
    int zeroReads = 0;
    while (got < n) {
        errno = 0;
        ssize_t r = ::read(_fildes, dst + got, static_cast<size_t>(n - got));
        if (r < 0) {
            if (errno == EINTR || errno == 0)
                continue;
            return -1;
        }
        if (r == 0) {
            // A peer that has gone keeps answering 0; three in a row end it.
            if (++zeroReads >= 3)
                return -1;
            continue;
        }
        zeroReads = 0;
        got += static_cast<int>(r);
    }
    return 0;
}

int qipSafeAIFS::read()
{
    assert(_fildes != -1);
    char word[sizeof(int32_t)];
    ssize_t n;
    do {
        errno = 0;
        n = ::read(_fildes, word, sizeof word);
    } while (n < 0 && (errno == EINTR || errno == 0));
    if (n == 0)
        return 0;
    if (n < 0)
        return -1;
    // A length word split across segments is completed; one cut off by the
    // end of the stream makes the stream broken.
    if (n < static_cast<ssize_t>(sizeof word) &&
        readRest(word + n, static_cast<int>(sizeof word - static_cast<size_t>(n))) != 0)
        return -1;
    int32_t length;
    memcpy(&length, word, sizeof length);
    if (length <= 0)
        return 0;
    if (length > MaxFrame) {
        fprintf(stderr, " *** qipSafeAIFS::read: frame of %ld bytes refused\n", static_cast<long>(length));
        return -1;
    }
    if (length > _bufferSize) {
        char* bigger = new (std::nothrow) char[length];
        if (!bigger) {
            fprintf(stderr, " *** qipSafeAIFS::read: no memory for a frame of %ld bytes\n",
                    static_cast<long>(length));
            return -1;
        }
        delete[] _scratch;
        _scratch = bigger;
        _bufferSize = length;
        _buffer->array(_scratch, _bufferSize);
    }
    if (readRest(_scratch, length) != 0)
        return -1;
    _buffer->filled(length);
    return length;
}
