#include "qip/Monitors/qipVLRecFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "qip/Monitors/qipBigEndian.h"

qipVLRecFile::qipVLRecFile()
    : _fp(nullptr), _mode(ReadOnly), _filename(nullptr), _currentRecord(nullptr), _walkOffset(0),
      _recordLeft(0)
{
}

qipVLRecFile::~qipVLRecFile()
{
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
    _mode = mode;

    unsigned char buf[qipVLHeader::Size];
    if (mode == CreateNew) {
        _fp = fopen(name, "wb");
        if (!_fp)
            return fopenFailed;
        // Unbuffered: a failing write is seen by the call that made it, and
        // no half-written buffer is left behind to spoil the next write.
        setvbuf(_fp, nullptr, _IONBF, 0);
        _header._firstOffset = qipVLHeader::Size + _header._userHeaderSz;
        _header._lastOffset = 0;
        int r = writeHeaders();
        if (r != 0)
            return r;
    } else {
        _fp = fopen(name, "rb");
        if (!_fp)
            return fopenFailed;
        if (fread(buf, 1, sizeof buf, _fp) != sizeof buf)
            return ferror(_fp) ? freadFailed : corruptFile;
        _header.unpack(buf);
        int r = readHeader();
        if (r != 0)
            return r;
    }
    return noError;
}

int qipVLRecFile::newRecord(unsigned tag, const char* data, unsigned size)
{
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
    const uint32_t prev = _header._lastOffset;
    if (fflush(_fp) != 0 || fseeko(_fp, 0, SEEK_END) != 0)
        return fileShutDown;
    const off_t pos = ftello(_fp);
    if (pos < 0)
        return fileShutDown;
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
            return fileShutDown;
        if (fwrite(next, 1, sizeof next, _fp) != sizeof next || fflush(_fp) != 0) {
            clearerr(_fp);
            return fwriteFailed;
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
    if (_currentRecord) {
        int r = update();
        delete _currentRecord;
        _currentRecord = nullptr;
        if (r != 0)
            return r;
    }
    if (fflush(_fp) != 0)
        return fwriteFailed;
    if (fseeko(_fp, 0, SEEK_SET) != 0)
        return fileShutDown;
    int r = writeHeaders();
    if (r != 0)
        return r;
    int c = fclose(_fp);
    _fp = nullptr;
    return c == 0 ? noError : fwriteFailed;
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
        return ferror(_fp) ? freadFailed : corruptFile;
    return noError;
}

int qipVLRecFile::load()
{
    if (!_fp)
        return fileShutDown;
    struct stat st;
    if (fstat(fileno(_fp), &st) != 0)
        return freadFailed;
    const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
    if (_header._firstOffset != uint64_t(qipVLHeader::Size) + _header._userHeaderSz)
        return corruptFile;

    int count = 0;
    uint32_t offset = _header._firstOffset;
    while (offset != 0) {
        if (fseeko(_fp, offset, SEEK_SET) != 0)
            return fileShutDown;
        unsigned char buf[qipVLRecord::Size];
        size_t got = fread(buf, 1, sizeof buf, _fp);
        if (got != sizeof buf) {
            if (ferror(_fp))
                return freadFailed;
            // Nothing at all where the first record of an empty file
            // would be; anywhere else the chain runs past the file's end.
            if (got == 0 && count == 0 && _header._nRecords == 0)
                return fopenFailed;
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
        _walkRecord = rec;
        _walkOffset = offset;
        _recordLeft = cut ? static_cast<uint32_t>(start < fileSize ? fileSize - start : 0) : rec._size;
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
        return fwriteFailed;
    int r = writeHeader();
    if (r != 0)
        return r;
    return fflush(_fp) == 0 ? noError : fwriteFailed;
}
