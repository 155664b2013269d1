#include "qip/Monitors/qipVLHeader.h"

#include <cstring>
#include <iomanip>
#include <ostream>

#include "qip/Monitors/qipBigEndian.h"

qipVLHeader::qipVLHeader(uint32_t userHeaderSz)
    : _magic(Magic), _nTotal(0), _nRecords(0), _userHeaderSz(userHeaderSz), _firstOffset(0),
      _lastOffset(0), _version(Version)
{
    memset(_pad, 0, sizeof _pad);
}

void qipVLHeader::pack(unsigned char* out) const
{
    qipPutBE32(out + 0, _magic);
    qipPutBE32(out + 4, _nTotal);
    qipPutBE32(out + 8, _nRecords);
    qipPutBE32(out + 12, _userHeaderSz);
    qipPutBE32(out + 16, _firstOffset);
    qipPutBE32(out + 20, _lastOffset);
    qipPutBE32(out + 24, _version);
    memcpy(out + 28, _pad, PadSize);
}

void qipVLHeader::unpack(const unsigned char* in)
{
    _magic = qipGetBE32(in + 0);
    _nTotal = qipGetBE32(in + 4);
    _nRecords = qipGetBE32(in + 8);
    _userHeaderSz = qipGetBE32(in + 12);
    _firstOffset = qipGetBE32(in + 16);
    _lastOffset = qipGetBE32(in + 20);
    _version = qipGetBE32(in + 24);
    memcpy(_pad, in + 28, PadSize);
}

std::ostream& operator<<(std::ostream& os, const qipVLHeader& h)
{
    const int w = 20;
    os << " qipVLHeader: \n";
    os << std::setw(w) << "magic" << " : 0x" << std::hex << h._magic << std::dec << "\n";
    os << std::setw(w) << "nTotal" << " : " << h._nTotal << "\n";
    os << std::setw(w) << "number of records" << " : " << h._nRecords << "\n";
    os << std::setw(w) << "user header size" << " : " << h._userHeaderSz << "\n";
    os << std::setw(w) << "first offset" << " : " << h._firstOffset << "\n";
    os << std::setw(w) << "last offset" << " : " << h._lastOffset << "\n";
    os << std::setw(w) << "version" << " : " << h._version << "\n";
    return os;
}
