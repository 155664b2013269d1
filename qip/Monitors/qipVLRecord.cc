#include "qip/Monitors/qipVLRecord.h"

#include <iomanip>
#include <ostream>

#include "qip/Monitors/qipBigEndian.h"

void qipVLRecord::pack(unsigned char* out) const
{
    qipPutBE32(out + 0, _nextRec);
    qipPutBE32(out + 4, _size);
    qipPutBE32(out + 8, _realSize);
    qipPutBE32(out + 12, _tag);
}

void qipVLRecord::unpack(const unsigned char* in)
{
    _nextRec = qipGetBE32(in + 0);
    _size = qipGetBE32(in + 4);
    _realSize = qipGetBE32(in + 8);
    _tag = qipGetBE32(in + 12);
}

std::ostream& operator<<(std::ostream& os, const qipVLRecord& r)
{
    const int w = 20;
    os << std::setw(w) << "tag" << " : " << r._tag << "\n";
    os << std::setw(w) << "size" << " : " << r._size << "\n";
    os << std::setw(w) << "real size" << " : " << r._realSize << "\n";
    os << std::setw(w) << "next record at" << " : " << r._nextRec << "\n";
    return os;
}
