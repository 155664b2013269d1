#pragma once

#include <cstdint>
#include <iosfwd>

// One record header of a variable-length record file: the offset of the next
// record, the data size and the record's tag. `_data` points at the caller's
// bytes while a record is being written; the record never owns or frees it.
struct qipVLRecord {
    enum { Size = 16 };

    qipVLRecord() : _nextRec(0), _size(0), _realSize(0), _tag(0), _data(nullptr) {}
    qipVLRecord(uint32_t tag, const char* data, uint32_t size)
        : _nextRec(0), _size(size), _realSize(size), _tag(tag), _data(data)
    {
    }

    // Writes the 16 on-disk bytes to `out` / reads them from `in`.
    void pack(unsigned char* out) const;
    void unpack(const unsigned char* in);

    uint32_t _nextRec;
    uint32_t _size;
    uint32_t _realSize;
    uint32_t _tag;
    const char* _data;
};

std::ostream& operator<<(std::ostream& os, const qipVLRecord& r);
