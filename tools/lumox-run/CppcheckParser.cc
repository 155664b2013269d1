#include "tools/lumox-run/CppcheckParser.h"

#include <cctype>
#include <cstring>
#include <utility>
#include <vector>

#include "tools/lumox-run/XmlStreamParser.h"

namespace {

enum { MaxLocations = 256, MaxField = 16 * 1024 };

// An attribute of expat's list, one line and capped; empty when absent.
std::string attribute(const char** attributes, const char* name)
{
    for (const char** a = attributes; a && a[0]; a += 2) {
        if (strcmp(a[0], name) != 0)
            continue;
        std::string v(a[1], strnlen(a[1], MaxField));
        for (char& c : v)
            if (c == '\n' || c == '\r' || c == '\t')
                c = ' ';
        return v;
    }
    return std::string();
}

int lineNumber(const std::string& s)
{
    long n = 0;
    for (char c : s) {
        if (!isdigit(static_cast<unsigned char>(c)) || n > 99999999)
            break;
        n = n * 10 + (c - '0');
    }
    return static_cast<int>(n);
}

}  // namespace

// The reader's state between two pieces of the output: the <error> being
// read and its locations.
struct CppcheckParser::Impl : XmlStreamParser::Handler {
    // One <location>, as cppcheck wrote it.
    struct Location {
        std::string file;
        std::string line;
        std::string column;
        std::string info;
    };

    Impl(long p, const std::string& dir, FindingSink s)
        : _pid(p), _cwd(dir), _sink(std::move(s)), _xml(*this), _finished(false), _inError(false), _inconclusive(false)
    {
        while (_cwd.size() > 1 && _cwd.back() == '/')
            _cwd.pop_back();
    }

    void elementStarted(const std::vector<std::string>& path, const char** attributes) override;
    void elementEnded(const std::vector<std::string>& path, const std::string& text) override;
    void endError();
    std::string absolute(const std::string& file) const;

    long _pid;
    std::string _cwd;
    FindingSink _sink;
    XmlStreamParser _xml;
    bool _finished;

    bool _inError;
    std::string _id, _severity, _msg, _verbose, _cwe;
    bool _inconclusive;
    std::vector<Location> _locations;  // primary first, as cppcheck writes them
};

void CppcheckParser::Impl::elementStarted(const std::vector<std::string>& path, const char** attributes)
{
    const std::string& name = path.back();
    size_t depth = path.size();
    if (depth == 1) {
        if (name != "results")
            _xml.stop("not cppcheck's XML output: the document is a <" + xmlWord(name, 64) + ">");
        return;
    }
    const std::string& parent = path[depth - 2];
    // Version 2 puts the errors in <errors>; version 1 right in <results>,
    // with the one location in the error's own attributes.
    if (name == "error" && (parent == "errors" || parent == "results")) {
        _inError = true;
        _id = attribute(attributes, "id");
        _severity = attribute(attributes, "severity");
        _msg = attribute(attributes, "msg");
        _verbose = attribute(attributes, "verbose");
        _cwe = attribute(attributes, "cwe");
        _inconclusive = attribute(attributes, "inconclusive") == "true";
        _locations.clear();
        std::string file = attribute(attributes, "file");
        if (!file.empty())
            _locations.push_back(Location{file, attribute(attributes, "line"), std::string(), std::string()});
    } else if (name == "location" && parent == "error" && _inError && _locations.size() < MaxLocations) {
        _locations.push_back(Location{attribute(attributes, "file"), attribute(attributes, "line"),
                                     attribute(attributes, "column"), attribute(attributes, "info")});
    }
}

void CppcheckParser::Impl::elementEnded(const std::vector<std::string>& path, const std::string& text)
{
    (void)text;
    if (path.back() == "error" && _inError)
        endError();
}

std::string CppcheckParser::Impl::absolute(const std::string& file) const
{
    if (file.empty() || file[0] == '/' || _cwd.empty())
        return file;
    std::string rest = file;
    while (rest.compare(0, 2, "./") == 0)
        rest.erase(0, 2);
    return (_cwd == "/" ? "" : _cwd) + "/" + rest;
}

void CppcheckParser::Impl::endError()
{
    _inError = false;
    // cppcheck's notes on the run itself (missingInclude, checkersReport)
    // name no place in the code: noise in a list of findings.
    if (_locations.empty() && _severity == "information")
        return;

    Finding f;
    f.pid = _pid;
    f.checker = "cppcheck";
    f.category = _id.empty() ? "cppcheckError" : xmlWord(_id, 64);
    if (!_locations.empty()) {
        f.file = absolute(_locations[0].file);
        f.line = lineNumber(_locations[0].line);
    }
    f.addLine(_msg);
    if (!_verbose.empty() && _verbose != _msg)
        f.addLine(_verbose);
    f.addLine("severity: " + xmlWord(_severity, 32) + (_inconclusive ? ", inconclusive" : ""));
    if (!_cwe.empty() && _cwe != "0")
        f.addLine("CWE-" + xmlWord(_cwe, 16));

    // Its own text form: the primary place, then for a path through the
    // code each step in the order the program takes it, which is the
    // reverse of the XML's.
    auto place = [](const Location& l) {
        return l.file + ":" + std::to_string(lineNumber(l.line)) + ":" + std::to_string(lineNumber(l.column));
    };
    f.printed = (_locations.empty() ? std::string("nofile:0:0") : place(_locations[0])) + ": " + _severity + ": "
                + (_inconclusive ? "inconclusive: " : "") + _msg + " [" + _id + "]\n";
    if (_locations.size() > 1) {
        std::vector<Frame> trace;
        for (size_t i = _locations.size(); i-- > 0;) {
            const Location& l = _locations[i];
            Frame fr;
            fr.file = absolute(l.file);
            fr.line = lineNumber(l.line);
            fr.label = !l.info.empty() ? l.info : i == 0 ? _msg : l.file + ":" + l.line;
            trace.push_back(fr);
            f.printed += place(l) + ": note: " + l.info + "\n";
        }
        f.addStack(std::move(trace));
    }
    _sink(std::move(f));
}

CppcheckParser::CppcheckParser(long pid, const std::string& cwd, FindingSink sink)
    : _impl(new Impl(pid, cwd, std::move(sink)))
{
}

CppcheckParser::~CppcheckParser() { delete _impl; }

int CppcheckParser::feed(const char* data, size_t n)
{
    if (_impl->_finished)
        return 0;
    return _impl->_xml.feed(data, n);
}

void CppcheckParser::finish()
{
    if (_impl->_finished)
        return;
    _impl->_finished = true;
    // cppcheck was stopped while it wrote an error: hand on what it said.
    if (!_impl->_xml.broken() && _impl->_inError)
        _impl->endError();
}

std::string CppcheckParser::error() const { return _impl->_xml.error(); }
