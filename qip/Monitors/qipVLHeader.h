#pragma once

#include <cstdint>
#include <iosfwd>

// The fixed 64-byte header at the start of a variable-length record file: the
// counts, the user-header size and the offsets of the first and last record.
// In memory the fields are host integers; pack() and unpack() convert to and
// from the big-endian bytes on disk.
struct qipVLHeader {
    enum { Size = 64, PadSize = 36 };
    static const uint32_t Magic = 0x6710;
    static const uint32_t Version = 1;

    explicit qipVLHeader(uint32_t userHeaderSz = 0);

    // Writes the 64 on-disk bytes to `out` / reads them from `in`.
    void pack(unsigned char* out) const;
    void unpack(const unsigned char* in);

    uint32_t _magic;
    uint32_t _nTotal;
    uint32_t _nRecords;
    uint32_t _userHeaderSz;
    uint32_t _firstOffset;
    uint32_t _lastOffset;
    uint32_t _version;
    unsigned char _pad[PadSize];
};

std::ostream& operator<<(std::ostream& os, const qipVLHeader& h);
