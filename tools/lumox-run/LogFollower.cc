#include "tools/lumox-run/LogFollower.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "tools/lumox-run/SanitizerParser.h"
#include "tools/lumox-run/ValgrindParser.h"

LogFollower::LogFollower(const std::string& path, long pid, Format format, FindingSink sink)
    : _path(path), _pid(pid), _format(format), _sink(std::move(sink)), _fd(-1), _offset(0), _echoed(0),
      _expectedOpens(2), _finished(false), _broken(false)
{
    if (format == SanitizerLog)
        _sanitizer.reset(new SanitizerParser(pid, _sink));
    else
        _valgrind.reset(new ValgrindParser(_sink));
}

LogFollower::~LogFollower()
{
    if (_fd >= 0)
        close(_fd);
}

int LogFollower::open()
{
    if (_fd >= 0)
        return 0;
    _fd = ::open(_path.c_str(), O_RDONLY | O_CLOEXEC);
    return _fd < 0 ? -1 : 0;
}

void LogFollower::opened()
{
    if (_expectedOpens > 0) {
        --_expectedOpens;
        return;
    }
    // The writer opened the file again, truncating it: read what it held
    // up to now is gone, and the new content is a new log.
    startOver();
}

void LogFollower::startOver()
{
    _broken = false;
    _offset = 0;
    _echoed = 0;
    if (_sanitizer)
        _sanitizer->reset();
    if (_valgrind)
        _valgrind->reset();
}

void LogFollower::read()
{
    if (_fd < 0 || _finished)
        return;
    // A file shorter than what was read was truncated under us without an
    // open being seen (the event queue overflowed): start over too.
    off_t end = lseek(_fd, 0, SEEK_END);
    if (end >= 0 && end < _offset)
        startOver();
    char buf[65536];
    for (;;) {
        ssize_t n = pread(_fd, buf, sizeof buf, _offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        _offset += n;
        if (_sanitizer) {
            _sanitizer->feed(buf, static_cast<size_t>(n));
        } else if (_valgrind->feed(buf, static_cast<size_t>(n)) != 0 && !_broken) {
            // Said once: what Valgrind writes after the fault is not read.
            _broken = true;
            fprintf(stderr, "lumox-run: [%ld] Valgrind's output in %s cannot be read: %s\n", _pid, _path.c_str(),
                    _valgrind->error().c_str());
        }
    }
}

void LogFollower::finish()
{
    if (_finished)
        return;
    read();
    _finished = true;
    if (_sanitizer)
        _sanitizer->finish();
    if (_valgrind)
        _valgrind->finish();
}

std::string LogFollower::command() const { return _valgrind ? _valgrind->command() : std::string(); }

void LogFollower::echo(FILE* out)
{
    char buf[65536];
    while (_fd >= 0 && _echoed < _offset) {
        size_t want = static_cast<size_t>(_offset - _echoed) < sizeof buf ? static_cast<size_t>(_offset - _echoed)
                                                                            : sizeof buf;
        ssize_t n = pread(_fd, buf, want, _echoed);
        if (n <= 0)
            break;
        fwrite(buf, 1, static_cast<size_t>(n), out);
        _echoed += n;
    }
    fflush(out);
    _echoed = _offset;
}
