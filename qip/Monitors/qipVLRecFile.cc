#include "qip/Monitors/qipVLRecFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "qip/Monitors/qipBigEndian.h"

static void keepOwnership(int fd, const struct stat& old);
static std::string directoryOf(const std::string& path);

qipVLRecFile::qipVLRecFile()
    : _fp(nullptr), _mode(ReadOnly), _filename(nullptr), _currentRecord(nullptr), _walkOffset(0),
      _recordLeft(0), _userHeaderSz(0), _errno(0), _writeFailed(noError)
{
}

qipVLRecFile::~qipVLRecFile()
{
    // A save that never reached close() replaces nothing.
    discard();
    delete _currentRecord;
    free(_filename);
    if (_fp)
        fclose(_fp);
}

const char* qipVLRecFile::error(int code)
{
    switch (code) {
    case noError: return "No error";
    case fopenFailed: return "fopen failed";
    case freadFailed: return "fread failed";
    case fwriteFailed: return "fwrite failed";
    case createFailed: return "create failed";
    case badMagicNumber: return "bad magic number";
    case badVersionNumber: return "bad version number";
    case outOfMemory: return "out of memory";
    case doubleFreeEntry: return "double-freing entry";
    case corruptFile: return "file corrupt";
    case fileShutDown: return "file shut down";
    case badParameter: return "bad parameter";
    default: return "Unknown error";
    }
}

const char* qipVLRecFile::reason(int code) const { return _errno ? strerror(_errno) : error(code); }

int qipVLRecFile::failed(int code)
{
    if (_errno == 0)
        _errno = errno;
    if (code == fwriteFailed && _writeFailed == noError)
        _writeFailed = code;
    return code;
}

int qipVLRecFile::readHeader() { return 0; }

int qipVLRecFile::writeHeader() { return 0; }

int qipVLRecFile::open(const char* name, Mode mode, int userHeaderSz)
{
    if (!name || userHeaderSz < 0)
        return badParameter;
    if (mode != ReadOnly && mode != CreateNew) {
        std::cerr << " Unknown mode in qipVLRecFile::open " << std::endl;
        return badParameter;
    }
    if (_fp) {
        int r = close();
        // close() leaves a read-only file open: this object is reused.
        if (_fp) {
            fclose(_fp);
            _fp = nullptr;
        }
        if (r != 0)
            return r;
    }
    char* copy = strdup(name);
    if (!copy)
        return outOfMemory;
    free(_filename);
    _filename = copy;
    delete _currentRecord;
    _currentRecord = nullptr;
    _header = qipVLHeader(static_cast<uint32_t>(userHeaderSz));
    _userHeaderSz = static_cast<uint32_t>(userHeaderSz);
    _mode = mode;
    _errno = 0;
    _writeFailed = noError;

    unsigned char buf[qipVLHeader::Size];
    if (mode == CreateNew) {
        int r = createFile(name);
        if (r != 0)
            return r;
        // Unbuffered: a failing write is seen by the call that made it, and
        // no half-written buffer is left behind to spoil the next write.
        setvbuf(_fp, nullptr, _IONBF, 0);
        _header._firstOffset = qipVLHeader::Size + _header._userHeaderSz;
        _header._lastOffset = 0;
        r = writeHeaders();
        if (r != 0)
            return r;
    } else {
        _fp = fopen(name, "rb");
        if (!_fp)
            return failed(fopenFailed);
        size_t got = fread(buf, 1, sizeof buf, _fp);
        if (got != sizeof buf)
            return ferror(_fp) ? failed(freadFailed) : corruptFile;
        _header.unpack(buf);
        int r = readHeader();
        if (r != 0)
            return r;
    }
    return noError;
}

// The program used to open the target itself with "wb" and write the
// records into it: a crash, a kill or a full disk part way left the user
// with a file of 0 or 128 bytes in place of the one saved before. Now the
// records go into a new file in the same directory (so that rename() can
// replace the target in one step), and close() renames it over the target
// only once it is whole and on disk.
int qipVLRecFile::createFile(const char* name)
{
    _target = name;
    _temp.clear();
    struct stat st;
    bool exists = lstat(name, &st) == 0;
    bool direct = exists && !S_ISREG(st.st_mode);
    // Through a link, the file it names is replaced, not the link; a link
    // to nothing is written through as before, there is nothing to keep.
    if (exists && S_ISLNK(st.st_mode)) {
        char* real = realpath(name, nullptr);
        if (real && stat(real, &st) == 0) {
            _target = real;
            direct = !S_ISREG(st.st_mode);
        }
        free(real);
    }
    // A device or a pipe has no old contents to keep and must not become a
    // file; for a directory fopen() says why it cannot be written.
    if (direct) {
        _fp = fopen(name, "wb");
        return _fp ? noError : failed(fopenFailed);
    }
    const size_t slash = _target.rfind('/');
    const std::string dir = directoryOf(_target);
    // The base name is cut so that the temporary name stays within NAME_MAX.
    const std::string base = _target.substr(slash == std::string::npos ? 0 : slash + 1, 200);
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const unsigned long salt = static_cast<unsigned long>(now.tv_nsec) + static_cast<unsigned long>(getpid());
    int fd = -1;
    for (unsigned long attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        _temp = dir + "/." + base + "." + std::to_string((salt + attempt * 7919) % 1000000) + ".tmp";
        // 0666 as fopen() would create it; the system applies the umask.
        fd = ::open(_temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        _temp.clear();
        return failed(fopenFailed);
    }
    if (exists)
        keepOwnership(fd, st);
    _fp = fdopen(fd, "wb");
    if (!_fp) {
        failed(fopenFailed);
        ::close(fd);
        unlink(_temp.c_str());
        _temp.clear();
        return fopenFailed;
    }
    return noError;
}

int qipVLRecFile::newRecord(unsigned tag, const char* data, unsigned size)
{
    if (_writeFailed != noError)
        return _writeFailed;
    if (!data || size == 0)
        return noError;
    delete _currentRecord;
    _currentRecord = new (std::nothrow) qipVLRecord(tag, data, size);
    if (!_currentRecord)
        return outOfMemory;
    int r = update();
    if (r == noError) {
        _header._nRecords += 1;
        _header._nTotal += size + qipVLRecord::Size;
    }
    delete _currentRecord;
    _currentRecord = nullptr;
    return r;
}

int qipVLRecFile::update()
{
    if (!_fp || !_currentRecord)
        return noError;
    if (_writeFailed != noError)
        return _writeFailed;
    const uint32_t prev = _header._lastOffset;
    if (fflush(_fp) != 0 || fseeko(_fp, 0, SEEK_END) != 0)
        return failed(fwriteFailed);
    const off_t pos = ftello(_fp);
    if (pos < 0)
        return failed(fwriteFailed);
    // Offsets are 32-bit on disk: a record that would end beyond them
    // could never be reached.
    if (uint64_t(pos) + qipVLRecord::Size + _currentRecord->_size > 0xffffffffu)
        return badParameter;

    unsigned char buf[qipVLRecord::Size];
    _currentRecord->_nextRec = 0;
    _currentRecord->pack(buf);
    if (fwrite(buf, 1, sizeof buf, _fp) != sizeof buf
        || fwrite(_currentRecord->_data, 1, _currentRecord->_size, _fp) != _currentRecord->_size
        || fflush(_fp) != 0) {
        failed(fwriteFailed);
        // Cut the partial record off again so that the file ends where
        // the last good record ends.
        clearerr(_fp);
        if (ftruncate(fileno(_fp), pos) != 0)
            std::cerr << " *** qipVLRecFile::update: cannot remove a partial record from " << _filename
                      << std::endl;
        return fwriteFailed;
    }
    if (prev != 0) {
        unsigned char next[4];
        qipPutBE32(next, static_cast<uint32_t>(pos));
        if (fseeko(_fp, prev, SEEK_SET) != 0)
            return failed(fwriteFailed);
        if (fwrite(next, 1, sizeof next, _fp) != sizeof next || fflush(_fp) != 0) {
            clearerr(_fp);
            return failed(fwriteFailed);
        }
    }
    // Only a linked record becomes the last one; after a failure the next
    // record links from the last good one.
    _header._lastOffset = static_cast<uint32_t>(pos);
    return noError;
}

int qipVLRecFile::close()
{
    if (!_fp || _mode != CreateNew)
        return noError;
    int r = noError;
    if (_currentRecord) {
        r = update();
        delete _currentRecord;
        _currentRecord = nullptr;
    }
    if (r == noError)
        r = _writeFailed;
    if (r == noError && (fflush(_fp) != 0 || fseeko(_fp, 0, SEEK_SET) != 0))
        r = failed(fwriteFailed);
    if (r == noError)
        r = writeHeaders();
    // On disk before it takes the target's place: after a crash the name
    // holds the old file or the whole new one, never one still in the cache.
    if (r == noError && !_temp.empty() && fsync(fileno(_fp)) != 0)
        r = failed(fwriteFailed);
    const int c = fclose(_fp);
    _fp = nullptr;
    if (r == noError && c != 0)
        r = failed(fwriteFailed);
    if (_temp.empty())
        return r;
    if (r == noError && rename(_temp.c_str(), _target.c_str()) != 0)
        r = failed(createFailed);
    if (r != noError) {
        unlink(_temp.c_str());
        _temp.clear();
        return r;
    }
    _temp.clear();
    // The rename itself on disk. It has happened whatever this says, so a
    // failure is only told to the developer; some file systems refuse to
    // sync a directory at all.
    int fd = ::open(directoryOf(_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || (fsync(fd) != 0 && errno != EINVAL))
        std::cerr << " *** qipVLRecFile::close: cannot sync the directory of " << _target << ": " << strerror(errno)
                  << std::endl;
    if (fd >= 0)
        ::close(fd);
    return noError;
}

int qipVLRecFile::discard()
{
    if (!_fp || _mode != CreateNew)
        return noError;
    fclose(_fp);
    _fp = nullptr;
    if (!_temp.empty())
        unlink(_temp.c_str());
    _temp.clear();
    return noError;
}

int qipVLRecFile::readData(void* buf, uint32_t n)
{
    if (n > _recordLeft)
        return corruptFile;
    if (n == 0)
        return noError;
    size_t got = fread(buf, 1, n, _fp);
    _recordLeft -= static_cast<uint32_t>(got);
    if (got != n)
        return ferror(_fp) ? failed(freadFailed) : corruptFile;
    return noError;
}

int qipVLRecFile::load()
{
    if (!_fp)
        return fileShutDown;
    struct stat st;
    if (fstat(fileno(_fp), &st) != 0)
        return failed(freadFailed);
    const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
    // The first record may sit anywhere after the headers, as another
    // writer may leave room; 0 says there is none.
    const uint32_t userHeaderSz = _header._userHeaderSz > _userHeaderSz ? _header._userHeaderSz : _userHeaderSz;
    if (_header._firstOffset != 0 && _header._firstOffset < uint64_t(qipVLHeader::Size) + userHeaderSz)
        return corruptFile;

    int count = 0;
    uint32_t offset = _header._firstOffset;
    while (offset != 0) {
        if (fseeko(_fp, offset, SEEK_SET) != 0)
            return failed(freadFailed);
        unsigned char buf[qipVLRecord::Size];
        size_t got = fread(buf, 1, sizeof buf, _fp);
        if (got != sizeof buf) {
            if (ferror(_fp))
                return failed(freadFailed);
            // A file of no records ends where its first one would start;
            // anywhere else the chain runs past the file's end.
            if (got == 0 && count == 0 && _header._nRecords == 0 && offset == fileSize)
                return 0;
            return corruptFile;
        }
        qipVLRecord rec;
        rec.unpack(buf);
        const uint64_t start = uint64_t(offset) + qipVLRecord::Size;
        const uint64_t end = start + rec._size;
        // Records are only ever appended, so the chain always moves forwards;
        // a link backwards would loop for ever.
        if (rec._nextRec != 0 && rec._nextRec < end)
            return corruptFile;
        // A record cut off by the end of the file is still handed over, with
        // only the bytes that are there, so that what it holds is not lost;
        // the walk ends with it.
        const bool cut = end > fileSize;
        // The record may be read up to the next one, or to the end of the
        // file: a size field smaller than what the record holds is no
        // damage as long as the bytes are there.
        const uint64_t limit = rec._nextRec != 0 && rec._nextRec < fileSize ? rec._nextRec : fileSize;
        _walkRecord = rec;
        _walkOffset = offset;
        _recordLeft = static_cast<uint32_t>(start < limit ? limit - start : 0);
        int r = processRecord(rec._tag, rec._size, rec._realSize);
        if (r < 0)
            return r;
        if (cut)
            return corruptFile;
        ++count;
        offset = rec._nextRec;
    }
    return count;
}

int qipVLRecFile::writeHeaders()
{
    unsigned char buf[qipVLHeader::Size];
    _header.pack(buf);
    if (fwrite(buf, 1, sizeof buf, _fp) != sizeof buf)
        return failed(fwriteFailed);
    int r = writeHeader();
    if (r == fwriteFailed)
        return failed(r);
    if (r != 0)
        return r;
    return fflush(_fp) == 0 ? noError : failed(fwriteFailed);
}

// The replacement of a file keeps its permissions and, where the system
// allows it, its group; where it does not, the file is the user's own like
// any new one, which is no reason to fail a save.
static void keepOwnership(int fd, const struct stat& old)
{
    const int saved = errno;
    if (fchmod(fd, old.st_mode & 07777) == 0 && old.st_gid != getegid())
        (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    errno = saved;
}

static std::string directoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}
