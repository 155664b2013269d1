#pragma once

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <string>

#include "qip/Monitors/qipVLHeader.h"
#include "qip/Monitors/qipVLRecord.h"

// A file of variable-length records: the 64-byte file header, a user header
// whose size and content belong to the derived class, then records chained
// forwards, each appended at the end of the file. A file is either created and
// appended to, or opened read-only and walked once with load(), which hands
// each record to processRecord(). A created file is written under a
// temporary name beside its target and takes the target's place only when
// close() has it whole on disk. The object owns its stdio file and names.
class qipVLRecFile {
public:
    enum Mode { ReadOnly = 0, CreateNew = 1 };
    enum Error {
        noError = 0,
        fopenFailed = -1,
        freadFailed = -2,
        fwriteFailed = -3,
        createFailed = -4,
        badMagicNumber = -5,
        badVersionNumber = -6,
        outOfMemory = -7,
        doubleFreeEntry = -8,
        corruptFile = -9,
        fileShutDown = -10,
        badParameter = -11
    };

    qipVLRecFile();

    // Writes _currentRecord at the end of the file and links the previous
    // record to it. 0 or an Error code.
    virtual int update();
    // Appends one record; null data or size 0 adds nothing. 0 or a code;
    // after a failed write every later one fails with the same code.
    virtual int newRecord(unsigned tag, const char* data, unsigned size);
    // User-header hooks, called after the file header is read or written.
    virtual int readHeader();
    virtual int writeHeader();
    // Called by load() for each record, with the file at the record's data.
    // A negative result stops the walk and is returned by load().
    virtual int processRecord(unsigned tag, unsigned size, unsigned realSize) = 0;
    virtual ~qipVLRecFile();
    // Walks every record from the header's first offset; the number
    // processed, or a negative code.
    virtual int load();
    // ReadOnly opens `name`. CreateNew creates a new file beside `name` (or
    // beside the file a link names) for the writes; `name` itself is written
    // only when it is no regular file, such as a device or a pipe.
    virtual int open(const char* name, Mode mode, int userHeaderSz);
    // Finishes a created file: rewrites the headers, puts it on disk and in
    // place of the target. 0, or a code with the target as it was and the
    // new file gone; a write that failed before fails the close too. A
    // read-only file stays open until the object is destroyed.
    virtual int close();
    // Drops a created file without touching the target; an object
    // destroyed before close() does the same.
    int discard();
    virtual void dump(std::ostream& os) = 0;

    // The text of a result code.
    static const char* error(int code);
    // Why an operation of this file failed with `code`, in words for the
    // user: the system's reason when a system call gave one (such as "No
    // space left on device"), else the code's text.
    virtual const char* reason(int code) const;
    // The errno of the first system call that failed since open(), or 0.
    int systemError() const { return _errno; }

    const qipVLHeader& header() const { return _header; }
    const char* filename() const { return _filename; }
    Mode mode() const { return _mode; }
    bool isOpen() const { return _fp != nullptr; }
    // While load() runs: the header and file offset of the record being
    // processed, and how many of its data bytes have not been read yet.
    const qipVLRecord& recordHeader() const { return _walkRecord; }
    uint32_t recordOffset() const { return _walkOffset; }
    uint32_t recordLeft() const { return _recordLeft; }

protected:
    // Reads `n` data bytes of the record being processed: 0, -9 when the
    // record (or the file) ends first, -2 on a read error.
    int readData(void* buf, uint32_t n);
    // Keeps the errno of the first system call that failed and, for a
    // write, the code every later write and close() return; `code`.
    int failed(int code);

    FILE* _fp;
    Mode _mode;
    char* _filename;
    qipVLHeader _header;
    qipVLRecord* _currentRecord;

private:
    qipVLRecFile(const qipVLRecFile&) = delete;
    qipVLRecFile& operator=(const qipVLRecFile&) = delete;
    // Writes the file header at the current position, then the user header;
    // flushes. 0 or a code.
    int writeHeaders();
    // Opens the file a CreateNew open writes: 0 or a code.
    int createFile(const char* name);
    qipVLRecord _walkRecord;
    uint32_t _walkOffset;
    uint32_t _recordLeft;
    // The user-header size open() was given: no record starts before it
    // ends, whatever the file header says.
    uint32_t _userHeaderSz;
    // A created file's target and the temporary name it is written under;
    // `_temp` is empty when the target is written itself.
    std::string _target;
    std::string _temp;
    int _errno;
    int _writeFailed;
};
