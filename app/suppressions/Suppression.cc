#include "app/suppressions/Suppression.h"

#include <cctype>
#include <ostream>

#include "options/OptionLines.h"

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
    return s._transient ? os : os << s.canonicalLine();
}

// A value's tokens end at blanks, so a blank in a pattern (a template class,
// a directory with a space) goes out as '?', which matches it; otherwise the
// line would read back as another entry or none.
static std::string writtenPattern(const char* pattern)
{
    std::string out = pattern;
    for (char& c : out)
        if (isspace(static_cast<unsigned char>(c)))
            c = '?';
    return out;
}

std::string Suppression::canonicalLine() const
{
    // An item no option line can name (a client sent a number out of
    // range) would not read back: written, it would stay in the file as a
    // line nobody understands and be written again at each save.
    // So would a severity without letters.
    if (_tag < 0 || _tag > MaxItem || (_severity != 0 && !suprType()))
        return std::string();
    std::string line = _type ? "  Zentrix.Suppress" : "  Zentrix.Unsuppress";
    if (_tag)
        line += " item " + std::to_string(_tag);
    if (_severity)
        line += std::string(" type ") + suprType();
    line += " class " + writtenPattern(_classname ? _classname : "*");
    if (_filename)
        line += " file " + writtenPattern(_filename);
    // A pattern ending in a backslash would continue the line into the next
    // entry; "all" ends the value and is read as "nothing more to match".
    if (tvopt::OptionLines::continues(line.data(), line.size()))
        line += " all";
    return line + "\n";
}
