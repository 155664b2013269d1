#include "app/suppressions/SuprFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/suppressions/SuprRec.h"
#include "app/suppressions/Suppression.h"
#include "options/OptionLines.h"
#include "options/options.h"

SuprFile* SuprFile::_current = nullptr;

ZxOptionRead::ZxOptionRead()
{
    bool known = false;
    for (int i = 0; i < tvopt::n_read_other_tools && !known; ++i)
        known = tvopt::strieq(tvopt::read_other_tools[i], "Zentrix");
    if (!known)
        tvopt::set_tool_alias("Zentrix");
}

// The load has told of the file's bad lines; the save's scan of the same
// lines says nothing more.
class QuietOptionRead : public ZxOptionRead {
public:
    QuietOptionRead() : _inhibit(tvopt::inhibit_error_messages) { tvopt::inhibit_error_messages = 1; }
    ~QuietOptionRead() { tvopt::inhibit_error_messages = _inhibit; }

private:
    int _inhibit;
};

SuprFile::SuprFile(const char* optionfile, const char* name)
    : _status(NoFile), _timestamp(0), _optionfile(nullptr), _header(nullptr), _tool(nullptr)
{
    SuprRec::set(_optionfile, optionfile);
    checkfile();
    std::string header;
    if (name)
        header = std::string("    ") + name + " suppressions";
    else if (optionfile)
        header = std::string("    Suppressions from: ") + optionfile;
    else
        header = "    Hardwired suppressions";
    SuprRec::set(_header, header.c_str());
}

SuprFile::~SuprFile()
{
    for (ListIterator<Suppression*> i(_suppressions); i.valid(); i.next())
        delete i.current();
    _suppressions.clear();
    free(_optionfile);
    free(_header);
    free(_tool);
}

void SuprFile::optionfile(const char* path) { SuprRec::set(_optionfile, path); }

bool SuprFile::isFile(const char* path) const { return tvopt::same_file(_optionfile, path) != 0; }

void SuprFile::tool(const char* name) { SuprRec::set(_tool, name); }

bool SuprFile::toolCounts(const char* tool) const { return !_tool || (tool && tvopt::strieq(tool, _tool)); }

int SuprFile::checkfile()
{
    if (!_optionfile) {
        _status = NoFile;
        return _status;
    }
    struct stat st;
    if (stat(_optionfile, &st) == 0) {
        _status = (st.st_mode & 0200) ? Writable : ReadOnly;
        _timestamp = static_cast<long>(st.st_mtime);
        return _status;
    }
    _status = Missing;
    // A file yet to be made can be made when its directory can be written.
    std::string dir = _optionfile;
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash);
    if (stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        _status = (st.st_mode & 0200) ? Writable : ReadOnly;
    return _status;
}

void SuprFile::process_option(char* tool, char* option, char* value)
{
    if (!_current || !_current->toolCounts(tool))
        return;
    if (tvopt::streq(option, "suppress") || tvopt::streq(option, "unsuppress"))
        _current->addSuppression(option, value);
}

int SuprFile::loadSuppressions()
{
    if (_status != ReadOnly && _status != Writable)
        return 0;
    int before = _suppressions.length();
    SuprFile* outer = _current;
    _current = this;
    {
        ZxOptionRead scope;
        tvopt::_Torvane_read_option_file(_optionfile, process_option);
    }
    _current = outer;
    return _suppressions.length() - before;
}

int SuprFile::addSuppression(const char* keyword, const char* value)
{
    if (!keyword || !value)
        return -1;
    Suppression* s = new Suppression();
    s->_type = tvopt::streq(keyword, "unsuppress") ? 0 : 1;
    if (s->parse(value) != 0) {
        delete s;
        return -1;
    }
    int r = addSuppression(s);
    if (r < 0)
        delete s;
    return r;
}

int SuprFile::addSuppression(Suppression* s)
{
    if (!s || _status < NoFile || _status > Writable)
        return -1;
    s->_transient = transientValue();
    _suppressions.append(s);
    return _suppressions.length();
}

int SuprFile::addSuppressionAfter(Suppression* s, Suppression* after)
{
    if (!s)
        return 0;
    List<Suppression*>::Link* link = nullptr;
    if (after) {
        link = _suppressions.find(after);
        if (!link)
            return 0;
    }
    s->_transient = transientValue();
    _suppressions.join(s, link);
    return _suppressions.length();
}

int SuprFile::removeSuppression(Suppression* s) { return _suppressions.remove(s); }

int SuprFile::isSuppressed(const SuprRec& r) const
{
    int answer = -1;
    for (ListIterator<Suppression*> i(_suppressions); i.valid(); i.next())
        if (*i.current() == r)
            answer = i.current()->_type;
    return answer;
}

void SuprFile::collectLineNumbers(long line) { _lineNumbers.append(line); }

void SuprFile::removeSuppressions(char* tool, char* option, char* value)
{
    if (!_current || !_current->toolCounts(tool))
        return;
    if (!tvopt::streq(option, "suppress") && !tvopt::streq(option, "unsuppress"))
        return;
    // A line that never became an entry is the user's to mend: it stays.
    SuprRec probe;
    if (probe.parse(value) == 0)
        _current->collectLineNumbers(tvopt::_Torvane_get_option_lineno());
}

// The whole file into `bytes`: 0, or -1 when it exists but cannot be read
// (a file that is not there reads as empty).
static int readContents(const char* path, std::string& bytes)
{
    bytes.clear();
    // What the reader will not read (a pipe, a device, a huge file) is not
    // rewritten either.
    struct stat st;
    if (stat(path, &st) != 0)
        return errno == ENOENT ? 0 : -1;
    if (!S_ISREG(st.st_mode) || st.st_size > 4 * 1024 * 1024)
        return -1;
    FILE* fp = fopen(path, "r");
    if (!fp)
        return errno == ENOENT ? 0 : -1;
    char chunk[8192];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, fp)) > 0)
        bytes.append(chunk, n);
    bool ok = !ferror(fp);
    fclose(fp);
    return ok ? 0 : -1;
}

// How text ends its lines, by its first line that ends: "\r\n" or "\n".
static std::string lineEnd(const std::string& bytes)
{
    size_t nl = bytes.find('\n');
    return nl != std::string::npos && nl > 0 && bytes[nl - 1] == '\r' ? "\r\n" : "\n";
}

int SuprFile::replaceContents(const char* text, size_t length)
{
    // Write where a symbolic link points, so that the link stays.
    char* real = realpath(_optionfile, nullptr);
    std::string target = real ? real : _optionfile;
    free(real);
    struct stat st;
    bool existed = stat(target.c_str(), &st) == 0;
    mode_t mode = existed ? (st.st_mode & 07777) : 0;
    if (!existed) {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temp = target + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd >= 0) {
        bool ok = fchmod(fd, mode) == 0;
        size_t done = 0;
        while (ok && done < length) {
            ssize_t n = write(fd, text + done, length - done);
            ok = n > 0;
            if (ok)
                done += static_cast<size_t>(n);
        }
        ok = fsync(fd) == 0 && ok;
        ok = close(fd) == 0 && ok;
        if (ok && rename(name.data(), target.c_str()) == 0)
            return 0;
        unlink(name.data());
        fprintf(stderr, " *** SuprFile::save: cannot replace %s\n", target.c_str());
        return -1;
    }
    // No new file beside it (a directory we may not write): write in place.
    FILE* fp = fopen(target.c_str(), "w");
    if (!fp)
        return -1;
    bool ok = fwrite(text, 1, length, fp) == length;
    ok = fclose(fp) == 0 && ok;
    return ok ? 0 : -1;
}

int SuprFile::save()
{
    if (_status == NoFile || _status == ReadOnly)
        return -1;
    // One read: the reader judges the very bytes that are kept.
    std::string bytes;
    if (readContents(_optionfile, bytes) != 0) {
        fprintf(stderr, " *** SuprFile::save: cannot read %s\n", _optionfile);
        return -1;
    }
    _lineNumbers.clear();
    SuprFile* outer = _current;
    _current = this;
    {
        QuietOptionRead scope;
        tvopt::_Torvane_read_option_text(_optionfile, bytes.data(), bytes.size(), removeSuppressions);
    }
    _current = outer;

    // The reader names an entry by its last physical line, in file order;
    // the lines of OptionLines come in the same order, so one pass matches
    // them. An entry goes as a whole, every other line stays byte for byte.
    std::string text;
    bool open = false;
    ListIterator<long> owned(_lineNumbers);
    tvopt::OptionLines lines(bytes.data(), bytes.size());
    tvopt::OptionLines::Line line;
    while (lines.next(line)) {
        while (owned.valid() && owned.current() < line.last)
            owned.next();
        if (line.option && owned.valid() && owned.current() == line.last)
            continue;
        text.append(bytes, line.begin, line.end - line.begin);
        open = line.open;
    }
    // A file written on a system that ends lines in CR LF gets its written
    // lines ended the same way, so that it stays one kind of file for the
    // editors there; the reader takes the CR as a trailing blank.
    // The kept lines decide, so that a second save decides as the first.
    const std::string eol = lineEnd(text.find('\n') != std::string::npos ? text : bytes);
    std::string block;
    for (ListIterator<Suppression*> i(_suppressions); i.valid(); i.next()) {
        if (i.current()->_transient != 0)
            continue;
        std::string entry = i.current()->canonicalLine();
        if (!entry.empty())
            block += entry.substr(0, entry.size() - 1) + eol;
    }
    if (!block.empty()) {
        // A last line without its newline would run into the block, and a
        // last option still continuing would take its first entry: an empty
        // line ends it and reads as nothing.
        if (!text.empty() && text.back() != '\n')
            text += eol;
        if (open)
            text += eol;
    }
    text += block;

    if (replaceContents(text.data(), text.size()) != 0) {
        _status = ReadOnly;
        for (ListIterator<Suppression*> i(_suppressions); i.valid(); i.next())
            i.current()->_transient = -1;
        return -1;
    }
    checkfile();
    return 0;
}
