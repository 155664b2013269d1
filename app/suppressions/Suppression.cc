#include "app/suppressions/Suppression.h"

#include <ostream>

bool operator==(const Suppression& s, const SuprRec& r)
{
    if (s._tag != 0 && r._tag != 0 && s._tag != r._tag)
        return false;
    if (s._severity != 0 && r._severity != 0 && s._severity != r._severity)
        return false;
    if (s._filename && r._filename && !SuprRec::streq(s._filename, r._filename))
        return false;
    // A violation outside any class has the empty class, which "*" covers.
    const char* pattern = s._classname ? s._classname : "*";
    const char* cls = r._classname ? r._classname : "";
    if (pattern[0] == '*' && pattern[1] == '\0')
        return true;
    return SuprRec::streq(pattern, cls) != 0;
}

std::ostream& operator<<(std::ostream& os, const Suppression& s)
{
    if (s._transient)
        return os;
    os << "  Zentrix." << (s._type ? "Suppress" : "Unsuppress");
    if (s._tag)
        os << " item " << s._tag;
    if (s._severity)
        os << " type " << s.suprType();
    if (s._classname)
        os << " class " << s._classname;
    if (s._filename)
        os << " file " << s._filename;
    return os << "\n";
}

std::string Suppression::canonicalLine() const
{
    std::string line = _type ? "  Zentrix.Suppress" : "  Zentrix.Unsuppress";
    if (_tag)
        line += " item " + std::to_string(_tag);
    if (_severity)
        line += std::string(" type ") + suprType();
    line += std::string(" class ") + (_classname ? _classname : "*");
    if (_filename)
        line += std::string(" file ") + _filename;
    return line + "\n";
}
