#include "app/report/LmxRptHeader.h"

#include <cstring>
#include <iomanip>
#include <ostream>

#include "qip/Monitors/qipBigEndian.h"

LmxRptHeader::LmxRptHeader() : _magic(Magic), _lmxMajor(LmxMajor), _lmxMinor(LmxMinor), _rptMajor(RptMajor)
{
    memset(_pad, 0, sizeof _pad);
}

void LmxRptHeader::pack(unsigned char* out) const
{
    qipPutBE32(out + 0, _magic);
    qipPutBE32(out + 4, _lmxMajor);
    qipPutBE32(out + 8, _lmxMinor);
    qipPutBE32(out + 12, _rptMajor);
    memcpy(out + 16, _pad, PadSize);
}

void LmxRptHeader::unpack(const unsigned char* in)
{
    _magic = qipGetBE32(in + 0);
    _lmxMajor = qipGetBE32(in + 4);
    _lmxMinor = qipGetBE32(in + 8);
    _rptMajor = qipGetBE32(in + 12);
    memcpy(_pad, in + 16, PadSize);
}

std::ostream& operator<<(std::ostream& os, const LmxRptHeader& h)
{
    const int w = 20;
    os << " LmxRptHeader: \n";
    os << std::setw(w) << "magic" << " : 0x" << std::hex << h._magic << std::dec << "\n";
    os << std::setw(w) << "Map File version" << " : " << h._rptMajor << "\n";
    os << std::setw(w) << "Torvane version" << " : " << h._lmxMajor << "." << h._lmxMinor << "\n";
    return os;
}
