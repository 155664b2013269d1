#pragma once

#include <cstddef>

#include "qip/Support/List.h"

class SuprRec;
class Suppression;

// One source of static-analysis suppressions: an option file (or the command
// line, or the hard-wired set, which have no file) with its suppress and
// unsuppress entries in file order. It loads them with the option-file
// reader, tells whether a violation is suppressed (the last matching entry
// decides), and rewrites the file with its entries as a block at the end,
// leaving every other line as it was. It owns its entries and its texts.
class SuprFile {
public:
    enum FileStatus { NoFile = 0, Missing = 1, ReadOnly = 2, Writable = 3 };

    // `name` titles the set in the editor; without it the path does.
    explicit SuprFile(const char* optionfile = nullptr, const char* name = nullptr);
    virtual ~SuprFile();

    // The editor's title line, or "-*-*-" when there is none.
    const char* header() const { return _header ? _header : "-*-*-"; }
    const char* optionfile() const { return _optionfile; }
    void optionfile(const char* path);
    // Is `path` this set's file, by whatever link or role it was named?
    bool isFile(const char* path) const;
    // Only options of this tool (compared ignoring case) count, on loading
    // and on saving; null: every tool's.
    void tool(const char* name);
    const char* tool() const { return _tool; }

    // Sets _status and _timestamp from the file (or its directory).
    int checkfile();
    // Reads the file's entries (readable files only); the number read.
    int loadSuppressions();
    // Adds an entry parsed from an option's keyword and value; -1 for a bad
    // value (nothing added).
    int addSuppression(const char* keyword, const char* value);
    // Appends `s` (the file owns it then); its persistence follows the file.
    // The new count, or -1.
    int addSuppression(Suppression* s);
    // Inserts `s` behind `after`, or first when `after` is null; the new
    // count, or 0 (nothing inserted) when `after` is not an entry here.
    int addSuppressionAfter(Suppression* s, Suppression* after);
    // Unlinks `s` (the caller deletes it); 0, or -1 when it is not here.
    int removeSuppression(Suppression* s);
    // 1 suppressed, 0 explicitly unsuppressed, -1 no entry matches.
    int isSuppressed(const SuprRec& r) const;
    // Rewrites the file: the entries it understood go, cut out as whole
    // options by the rules of tvopt::OptionLines; every other line is kept
    // byte for byte; then every persistent entry as one canonical line. 0, or
    // -1 (nothing changed on disk: the file cannot be read, or cannot be
    // written, and then its entries become fixed-transient).
    int save();

    // The _transient value an entry added now takes: 0 when the file can be
    // written, -1 when it never can.
    int transientValue() const { return _status == Writable ? 0 : -1; }
    int status() const { return _status; }
    int nSuppressions() const { return _suppressions.length(); }
    // While a save scans: the last physical line of an entry it understood.
    void collectLineNumbers(long line);

    int _status;
    long _timestamp;
    char* _optionfile;
    char* _header;
    char* _tool;
    List<Suppression*> _suppressions;
    List<long> _lineNumbers;

private:
    SuprFile(const SuprFile&) = delete;
    SuprFile& operator=(const SuprFile&) = delete;

    bool toolCounts(const char* tool) const;
    // Writes `text` to a new file beside the option file that then replaces
    // it, or into the file itself when no such file can be made. 0 or -1.
    int replaceContents(const char* text, size_t length);

    static void process_option(char* tool, char* option, char* value);
    static void removeSuppressions(char* tool, char* option, char* value);
    static SuprFile* _current;
};

// For the length of one read of option files: the analyser's tool name is
// accepted as a prefix with any option. Whatever else the reader finds wrong
// (a bad tool, a bad option) it reports as it does for any read.
class ZxOptionRead {
public:
    ZxOptionRead();
};
