#pragma once

#include <iosfwd>
#include <string>

#include "app/suppressions/SuprRec.h"

// One suppress or unsuppress line: a violation pattern with its kind and
// whether it lives only in memory. `_transient` is 0 for an entry that is
// written to its option file, positive for one the user keeps in memory only,
// and -1 for one whose file cannot be written at all (fixed).
class Suppression : public SuprRec {
public:
    Suppression(int tag = 0, int severity = 0, const char* filename = nullptr, const char* classname = nullptr)
        : SuprRec(tag, severity, filename, classname), _type(1), _transient(1)
    {
    }
    // A suppression of exactly this violation.
    explicit Suppression(ZxErrMsg* m) : SuprRec(m), _type(1), _transient(1) {}

    // The line as save() writes it, newline included: "  Zentrix.Suppress"
    // or "  Zentrix.Unsuppress", then item, type, class (" class *" when
    // none) and file. It reads back as this entry: a blank in a pattern is
    // written '?', and a line that would end in a backslash ends in " all".
    // Empty for an entry no line can name (an item or severity out of range).
    std::string canonicalLine() const;

    int _type;
    int _transient;
};

// Does the suppression cover the record?
bool operator==(const Suppression& s, const SuprRec& r);
// The entry as its canonical line; nothing for a transient entry.
std::ostream& operator<<(std::ostream& os, const Suppression& s);
