#include "qip/Monitors/qipSafeAIFS.h"

#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

size_t qipSafeAIFS::_heldByAll = 0;
qipSafeAIFS* qipSafeAIFS::_streams = nullptr;

qipSafeAIFS::qipSafeAIFS()
    : _bufferSize(ScratchSize), _start(0), _held(0), _delivered(0), _ended(false), _broken(false), _stopped(false),
      _nextStream(_streams), _prevStream(nullptr)
{
    if (_streams)
        _streams->_prevStream = this;
    _streams = this;
}

qipSafeAIFS::~qipSafeAIFS()
{
    account(-static_cast<long>(held()));
    if (_prevStream)
        _prevStream->_nextStream = _nextStream;
    else
        _streams = _nextStream;
    if (_nextStream)
        _nextStream->_prevStream = _prevStream;
}

void qipSafeAIFS::account(long change) { _heldByAll += change; }

bool qipSafeAIFS::room(size_t n)
{
    if (_held + n <= static_cast<size_t>(_bufferSize))
        return true;
    compact();
    if (_held + n <= static_cast<size_t>(_bufferSize))
        return true;
    size_t want = static_cast<size_t>(_bufferSize) * 2;
    if (want < _held + n)
        want = _held + n;
    char* bigger = new (std::nothrow) char[want];
    if (!bigger)
        return false;
    memcpy(bigger, _scratch, _held);
    delete[] _scratch;
    _scratch = bigger;
    _bufferSize = static_cast<int>(want);
    _buffer->array(_scratch, _bufferSize);
    return true;
}

void qipSafeAIFS::compact()
{
    if (_start > 0) {
        memmove(_scratch, _scratch + _start, _held - _start);
        _held -= _start;
        _start = 0;
        _delivered = 0;
        _buffer->array(_scratch, _bufferSize);
    }
    // A large frame has gone: the array goes back to its size at rest.
    if (_bufferSize > RestSize && _held <= RestSize / 2) {
        char* small = new (std::nothrow) char[RestSize];
        if (small) {
            memcpy(small, _scratch, _held);
            delete[] _scratch;
            _scratch = small;
            _bufferSize = RestSize;
            _buffer->array(_scratch, _bufferSize);
        }
    }
}

bool qipSafeAIFS::overCap()
{
    if (_heldByAll <= MaxHeld)
        return false;
    qipSafeAIFS* most = this;
    for (qipSafeAIFS* s = _streams; s; s = s->_nextStream)
        if (s->held() > most->held())
            most = s;
    fprintf(stderr, " *** qipSafeAIFS::read: %lu bytes held for frames in all; the stream holding %lu is closed\n",
            static_cast<unsigned long>(_heldByAll), static_cast<unsigned long>(most->held()));
    if (most == this)
        return true;
    // Another stream, whose own event is not on the stack: closing it now
    // is safe.
    most->_broken = true;
    most->deactivate();
    most->error();
    return false;
}

int qipSafeAIFS::activate()
{
    _stopped = false;
    return qipSimpleAIFS::activate();
}

int qipSafeAIFS::deactivate()
{
    _stopped = true;
    return qipSimpleAIFS::deactivate();
}

int qipSafeAIFS::next()
{
    // The frame handed on last goes first.
    _start += _delivered;
    _delivered = 0;
    size_t have = _held - _start;
    if (have >= sizeof(int32_t)) {
        int32_t length;
        memcpy(&length, _scratch + _start, sizeof length);
        if (length <= 0)
            return 0;
        if (length > MaxFrame) {
            fprintf(stderr, " *** qipSafeAIFS::read: frame of %ld bytes refused\n", static_cast<long>(length));
            return -1;
        }
        if (have >= sizeof length + static_cast<size_t>(length)) {
            _buffer->array(_scratch + _start + sizeof length, length);
            _buffer->filled(length);
            _delivered = sizeof length + static_cast<size_t>(length);
            account(-static_cast<long>(_delivered));
            return length;
        }
    }
    if (_broken)
        return -1;
    // A frame cut off by the end of the stream makes it broken.
    if (_ended)
        return have == 0 ? 0 : -1;
    return More;
}

int qipSafeAIFS::read()
{
    assert(_fildes != -1);
    if (!_ended && !_broken) {
        // What is held is moved down before reading more, so that the array
        // never keeps frames already handed on.
        _start += _delivered;
        _delivered = 0;
        compact();
        // Room for the rest of a frame begun, and at least a fair read.
        size_t want = RestSize / 4;
        if (held() >= sizeof(int32_t)) {
            int32_t length;
            memcpy(&length, _scratch + _start, sizeof length);
            if (length > 0 && length <= MaxFrame && held() < sizeof length + static_cast<size_t>(length)) {
                size_t rest = sizeof length + static_cast<size_t>(length) - held();
                want = rest > want ? rest : want;
            }
        }
        if (_bufferSize < RestSize)
            want = want > RestSize - _held ? want : RestSize - _held;
        if (!room(want)) {
            fprintf(stderr, " *** qipSafeAIFS::read: no memory for %lu more bytes\n", static_cast<unsigned long>(want));
            return -1;
        }
        size_t space = static_cast<size_t>(_bufferSize) - _held;
        ssize_t n;
        do {
            errno = 0;
            n = ::read(_fildes, _scratch + _held, space);
        } while (n < 0 && errno == EINTR);
        if (n > 0) {
            _held += static_cast<size_t>(n);
            account(n);
            if (overCap())
                return -1;
        } else if (n == 0) {
            _ended = true;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            _broken = true;
        }
    }
    return next();
}

void qipSafeAIFS::eventDetected()
{
    int r = read();
    _stopped = false;
    while (r > 0) {
        triggered();
        // Whoever owns the stream may have stopped it meanwhile (a
        // connection closed by its owner): its frames go no further.
        if (_stopped)
            return;
        r = next();
    }
    if (r == More)
        return;
    deactivate();
    // error() may destroy this stream: nothing may follow it.
    error();
}
