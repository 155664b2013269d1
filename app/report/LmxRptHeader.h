#pragma once

#include <cstdint>
#include <iosfwd>

// The 64-byte user header of a report file: its own magic number, the version
// of the program that wrote it and the version of the report format. pack()
// and unpack() convert to and from the big-endian bytes on disk.
struct LmxRptHeader {
    enum { Size = 64, PadSize = 48 };
    static const uint32_t Magic = 0x6705;
    static const uint32_t LmxMajor = 3;
    static const uint32_t LmxMinor = 0;
    static const uint32_t RptMajor = 1;

    LmxRptHeader();

    void pack(unsigned char* out) const;
    void unpack(const unsigned char* in);

    uint32_t _magic;
    uint32_t _lmxMajor;
    uint32_t _lmxMinor;
    uint32_t _rptMajor;
    unsigned char _pad[PadSize];
};

std::ostream& operator<<(std::ostream& os, const LmxRptHeader& h);
