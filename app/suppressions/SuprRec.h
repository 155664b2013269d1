#pragma once

class ZxErrMsg;

// The pattern of a static-analysis violation: rule item, severity, source
// file and class. Built from a violation it describes that violation; inside
// a Suppression it is the pattern the suppression matches, where a zero or
// null field means "any" and the texts may hold the wildcards * and ?. It
// owns its two texts.
class SuprRec {
public:
    SuprRec(int tag = 0, int severity = 0, const char* filename = nullptr, const char* classname = nullptr);
    // The record of one violation: item from the category, severity, class,
    // and the file as path/name.
    explicit SuprRec(ZxErrMsg* m);
    SuprRec(const SuprRec& other);
    SuprRec& operator=(const SuprRec& other);
    virtual ~SuprRec();

    enum { MaxSeverity = 5 };
    // The largest item number an option line may name.
    enum { MaxItem = 1000000 };

    // The severity's letters ("I", "PV", "V", "PSV", "SV"), or null for 0.
    const char* suprType() const { return suprType(_severity); }
    static const char* suprType(int severity);
    // The severity whose letters are `token` in any case, or 0.
    static int severityOf(const char* token);

    // Frees `field` and stores a copy of `text` (null leaves it null).
    static void set(char*& field, const char* text);

    // Fills the record from the value of a suppress or unsuppress line
    // ("item 12 type pv class Foo* file src/*.cc", or "all"); 0, or -1 for
    // an empty value, an unknown keyword or a keyword without its token.
    // parse() works on a copy, extract() cuts the text up in place.
    int parse(const char* text);
    int extract(char* text);

    // Case-sensitive wildcard comparison: * matches any run of characters,
    // ? any one character.
    static int streq(const char* pattern, const char* text);

    int _tag;
    int _severity;
    char* _filename;
    char* _classname;
};
