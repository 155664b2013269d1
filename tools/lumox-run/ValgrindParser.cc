#include "tools/lumox-run/ValgrindParser.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "tools/lumox-run/XmlStreamParser.h"

namespace {

// What one record keeps at most: real ones are a few kilobytes, a hostile
// file could send a stack of a million frames with megabyte names.
enum {
    MaxFrames = 500,           // Valgrind's own --num-callers limit
    MaxParts = 256,
    MaxField = 4096,           // a frame's function, file or module
    MaxRecordBytes = 256 * 1024,
    MaxThreadBytes = 16 * 1024 * 1024,
    MaxCommand = 64 * 1024
};

const char* const leakKinds[] = {"Leak_DefinitelyLost", "Leak_IndirectlyLost", "Leak_PossiblyLost",
                                 "Leak_StillReachable"};
const char* const leakNames[] = {"definitely lost", "indirectly lost", "possibly lost", "still reachable"};
const int leakKindCount = 4;

bool startsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// A text of the file as one body line: a line break inside would split it.
std::string oneLine(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    return out;
}

std::string capped(const std::string& s) { return s.size() > MaxField ? s.substr(0, MaxField) : s; }

// A count as Valgrind prints it ("1,048"), read from the start of `s`;
// `used` tells how many characters it took. Saturates instead of wrapping.
unsigned long long count(const std::string& s, size_t* used = nullptr)
{
    unsigned long long n = 0;
    size_t i = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c == ',' && i > 0)
            continue;
        if (!isdigit(static_cast<unsigned char>(c)))
            break;
        unsigned long long d = static_cast<unsigned long long>(c - '0');
        n = n > (~0ULL - d) / 10 ? ~0ULL : n * 10 + d;
    }
    if (used)
        *used = i;
    return n;
}

std::string withCommas(unsigned long long n)
{
    std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

unsigned long long saturatingAdd(unsigned long long a, unsigned long long b) { return a > ~0ULL - b ? ~0ULL : a + b; }

// The directly lost bytes of a leak that also holds others: "64 (32 direct,
// 32 indirect) bytes in 1 blocks are definitely lost". The summary counts
// those others as indirectly lost, as Valgrind's own does.
bool directBytes(const std::string& what, unsigned long long& bytes)
{
    size_t open = what.find(" (");
    if (open == std::string::npos)
        return false;
    size_t used = 0;
    unsigned long long n = count(what.substr(open + 2), &used);
    if (used == 0 || what.compare(open + 2 + used, 7, " direct") != 0)
        return false;
    bytes = n;
    return true;
}

// DRD names the thread in its text only ("Conflicting load by thread 3 at
// ..."), with its own numbers, which need not be Valgrind's <tid>.
std::string drdThread(const std::string& what)
{
    size_t at = what.find("by thread ");
    if (at == std::string::npos)
        return std::string();
    std::string rest = what.substr(at + 10);
    size_t n = 0;
    while (n < rest.size() && n < 9 && isdigit(static_cast<unsigned char>(rest[n])))
        ++n;
    return rest.substr(0, n);
}

std::string checkerOf(const std::string& tool)
{
    if (tool == "memcheck")
        return "Memcheck";
    if (tool == "helgrind")
        return "Helgrind";
    if (tool == "drd")
        return "DRD";
    return tool.empty() ? "Valgrind" : xmlWord(tool, 32);
}

}  // namespace

// The reader's state between two pieces of the file: the preamble, the
// record being read (an error, a fatal signal, a thread announcement), the
// leaks of the leak check under way and the threads Helgrind announced.
struct ValgrindParser::Impl : XmlStreamParser::Handler {
    enum Record { NoRecord, ErrorRecord, SignalRecord, ThreadRecord };

    // A thread as Helgrind announced it: where it was created.
    struct Thread {
        bool root = false;
        std::vector<Frame> frames;
        std::string printed;  // the stack's lines, as Valgrind prints them
        bool shown = false;   // its announcement is already on the terminal
    };

    explicit Impl(FindingSink s) : _sink(std::move(s)), _xml(*this) { restart(); }

    void elementStarted(const std::vector<std::string>& path, const char** attributes) override;
    void elementEnded(const std::vector<std::string>& path, const std::string& text) override;

    void restart();
    void beginRecord(Record r);
    void recordEnded(const std::string& name);
    void endError();
    void endSignal();
    void endThread();
    void endFrame();
    void closeStack();
    void addWhat(const std::string& text);
    void addAux(const std::string& text, bool extended);
    bool fits(size_t bytes);
    void countLeak();
    void flushLeaks();
    void finish();
    std::string prefix() const { return "==" + std::to_string(_pid) + "== "; }

    FindingSink _sink;
    XmlStreamParser _xml;
    bool _finished;

    long _pid;
    std::string _tool;
    std::string _command;

    Record _record;
    Finding _current;
    std::string _lines;        // the record's lines as Valgrind prints them
    size_t _recordBytes;
    std::string _kind, _tid, _firstWhat, _helgrindThread;
    std::vector<std::string> _named;  // the Helgrind threads the record names
    std::string _leakedBytes, _leakedBlocks;
    std::string _signo, _signame, _event, _siaddr, _hthreadid;
    std::string _suppression;  // as --gen-suppressions writes it for the error
    bool _rootThread;
    size_t _partsBeforeSegment;

    std::vector<Frame> _frames;        // the stack being read
    std::vector<std::string> _frameTexts;  // "0x1091E8: readPast (memerrors.c:20)"
    std::string _ip, _obj, _fn, _dir, _file, _line;

    bool _leaksPending;
    std::string _leakThread;
    unsigned long long _leakBytes[leakKindCount], _leakBlocks[leakKindCount];
    bool _leakSeen[leakKindCount];

    std::map<std::string, Thread> _threads;
    size_t _threadBytes;
};

void ValgrindParser::Impl::restart()
{
    _finished = false;
    _pid = 0;
    _tool.clear();
    _command.clear();
    beginRecord(NoRecord);
    _leaksPending = false;
    _leakThread.clear();
    for (int k = 0; k < leakKindCount; ++k) {
        _leakBytes[k] = _leakBlocks[k] = 0;
        _leakSeen[k] = false;
    }
    _threads.clear();
    _threadBytes = 0;
}

void ValgrindParser::Impl::beginRecord(Record r)
{
    _record = r;
    _current = Finding();
    _lines.clear();
    _recordBytes = 0;
    _kind.clear();
    _tid.clear();
    _firstWhat.clear();
    _helgrindThread.clear();
    _named.clear();
    _leakedBytes.clear();
    _leakedBlocks.clear();
    _signo.clear();
    _signame.clear();
    _event.clear();
    _siaddr.clear();
    _hthreadid.clear();
    _suppression.clear();
    _rootThread = false;
    _partsBeforeSegment = 0;
    _frames.clear();
    _frameTexts.clear();
}

void ValgrindParser::Impl::elementStarted(const std::vector<std::string>& path, const char** attributes)
{
    (void)attributes;
    const std::string& name = path.back();
    size_t depth = path.size();
    if (depth == 1) {
        if (name != "valgrindoutput")
            _xml.stop("not Valgrind's XML output: the document is a <" + xmlWord(name, 64) + ">");
        return;
    }
    if (depth == 2) {
        // Whatever follows the last leak of a check ends the check; an
        // error may be its next leak, which only its kind tells, and with
        // --gen-suppressions each error's suppression follows it again.
        if (name != "error" && name != "suppression")
            flushLeaks();
        if (name == "error")
            beginRecord(ErrorRecord);
        else if (name == "fatal_signal")
            beginRecord(SignalRecord);
        else if (name == "announcethread")
            beginRecord(ThreadRecord);
        return;
    }
    if (_record == NoRecord)
        return;
    const std::string& parent = path[depth - 2];
    if (name == "frame" && parent == "stack") {
        _ip.clear();
        _obj.clear();
        _fn.clear();
        _dir.clear();
        _file.clear();
        _line.clear();
    } else if (depth == 3 && (name == "other_segment_start" || name == "other_segment_end")) {
        // DRD's other side of a conflict: where the other thread's segment
        // began and ended.
        closeStack();
        addWhat(name == "other_segment_start" ? "Other segment start" : "Other segment end");
        _partsBeforeSegment = _current.body.size();
    }
}

void ValgrindParser::Impl::elementEnded(const std::vector<std::string>& path, const std::string& text)
{
    const std::string& name = path.back();
    size_t depth = path.size();
    if (depth == 1) {
        flushLeaks();
        return;
    }
    if (depth == 2) {
        if (name == "pid")
            _pid = static_cast<long>(std::min(count(text), 0x7fffffffULL));
        else if (name == "protocoltool")
            _tool = xmlWord(text, 32);
        else if (name == "tool" && _tool.empty())
            _tool = xmlWord(text, 32);
        else
            recordEnded(name);
        return;
    }
    const std::string& parent = path[depth - 2];
    if (depth == 4 && path[1] == "args" && parent == "argv") {
        if ((name == "exe" || name == "arg") && _command.size() + text.size() < MaxCommand)
            _command += (_command.empty() ? "" : " ") + oneLine(text);
        return;
    }
    if (_record == NoRecord)
        return;
    if (parent == "frame" && depth >= 3 && path[depth - 3] == "stack") {
        if (name == "ip")
            _ip = capped(text);
        else if (name == "obj")
            _obj = capped(text);
        else if (name == "fn")
            _fn = capped(text);
        else if (name == "dir")
            _dir = capped(text);
        else if (name == "file")
            _file = capped(text);
        else if (name == "line")
            _line = capped(text);
        return;
    }
    if (name == "frame" && parent == "stack") {
        endFrame();
    } else if (name == "stack") {
        closeStack();
    } else if (depth == 3) {
        if (name == "tid")
            _tid = xmlWord(text, 16);
        else if (name == "kind")
            _kind = text;
        else if (name == "what")
            addWhat(text);
        else if (name == "auxwhat")
            addAux(text, false);
        else if (name == "signo")
            _signo = xmlWord(text, 16);
        else if (name == "signame")
            _signame = xmlWord(text, 32);
        else if (name == "event")
            _event = capped(oneLine(text));
        else if (name == "siaddr")
            _siaddr = xmlWord(text, 32);
        else if (name == "hthreadid")
            _hthreadid = xmlWord(text, 16);
        else if (name == "isrootthread")
            _rootThread = true;
        else if ((name == "other_segment_start" || name == "other_segment_end")
                 && _current.body.size() == _partsBeforeSegment && fits(64)) {
            _current.addLine("(thread finished, call stack no longer available)");
            _lines += prefix() + "   (thread finished, call stack no longer available)\n";
        }
    } else if (name == "text" && parent == "xwhat") {
        addWhat(text);
    } else if (name == "text" && parent == "xauxwhat") {
        addAux(text, true);
    } else if (name == "hthreadid" && (parent == "xwhat" || parent == "xauxwhat")) {
        std::string id = xmlWord(text, 16);
        if (parent == "xwhat" && _helgrindThread.empty())
            _helgrindThread = id;
        bool known = false;
        for (const std::string& n : _named)
            known = known || n == id;
        if (!known && _named.size() < 16)
            _named.push_back(id);
    } else if (name == "rawtext" && parent == "suppression" && depth == 4 && _record == ErrorRecord) {
        _suppression = text.substr(0, MaxField);
    } else if (name == "leakedbytes" && parent == "xwhat") {
        _leakedBytes = text;
    } else if (name == "leakedblocks" && parent == "xwhat") {
        _leakedBlocks = text;
    }
}

void ValgrindParser::Impl::recordEnded(const std::string& name)
{
    if (name == "error" && _record == ErrorRecord)
        endError();
    else if (name == "fatal_signal" && _record == SignalRecord)
        endSignal();
    else if (name == "announcethread" && _record == ThreadRecord)
        endThread();
    beginRecord(NoRecord);
}

// Whether the record still has room for `bytes` more.
bool ValgrindParser::Impl::fits(size_t bytes)
{
    if (_recordBytes + bytes > MaxRecordBytes || _current.body.size() >= MaxParts)
        return false;
    _recordBytes += bytes;
    return true;
}

void ValgrindParser::Impl::addWhat(const std::string& text)
{
    closeStack();
    std::string t = oneLine(text);
    if (_firstWhat.empty())
        _firstWhat = t;
    if (!fits(t.size()))
        return;
    _current.addLine(t);
    _lines += prefix() + t + "\n";
}

void ValgrindParser::Impl::addAux(const std::string& text, bool extended)
{
    closeStack();
    std::string t = oneLine(text);
    if (!fits(t.size()))
        return;
    _current.addLine(t);
    // Memcheck and Helgrind indent a plain secondary line by one space;
    // Helgrind's line on the other thread and all of DRD's stand flush.
    bool flush = extended || _tool == "drd";
    _lines += prefix() + (flush ? "" : " ") + t + "\n";
}

void ValgrindParser::Impl::endFrame()
{
    if (_frames.size() >= MaxFrames || !fits(_ip.size() + _obj.size() + _fn.size() + _dir.size() + _file.size()))
        return;
    Frame f;
    f.function = oneLine(_fn);
    if (!_file.empty())
        f.file = _dir.empty() ? _file : _dir + "/" + _file;
    f.line = static_cast<int>(std::min(count(_line), 0x7fffffffULL));
    f.module = oneLine(_obj);
    _frames.push_back(f);
    // Valgrind's own form: the file's name alone, else the module.
    std::string where;
    if (!_file.empty())
        where = " (" + oneLine(_file) + (_line.empty() ? "" : ":" + xmlWord(_line, 10)) + ")";
    else if (!_obj.empty())
        where = " (in " + oneLine(_obj) + ")";
    _frameTexts.push_back(oneLine(_ip) + ": " + (_fn.empty() ? "???" : oneLine(_fn)) + where);
}

void ValgrindParser::Impl::closeStack()
{
    if (_frames.empty())
        return;
    for (size_t i = 0; i < _frames.size(); ++i) {
        const char* verb = i == 0 ? "at " : "by ";
        _frames[i].label = verb + (_frames[i].function.empty() ? std::string("???") : _frames[i].function);
        _lines += prefix() + "   " + verb + _frameTexts[i] + "\n";
    }
    if (_current.body.size() < MaxParts)
        _current.addStack(std::move(_frames));
    _frames.clear();
    _frameTexts.clear();
}

void ValgrindParser::Impl::endError()
{
    closeStack();
    std::string category;
    if (startsWith(_kind, "Leak_"))
        category = "LEAK_" + xmlWord(_kind.substr(5), 58);
    else
        category = _kind.empty() ? "Error" : xmlWord(_kind, 64);
    std::string thread = _tid;
    if (_tool == "helgrind" && !_helgrindThread.empty())
        thread = _helgrindThread;
    else if (_tool == "drd" && !drdThread(_firstWhat).empty())
        thread = drdThread(_firstWhat);

    if (startsWith(category, "LEAK_")) {
        // Two leak checks in a row (client requests) have nothing between
        // them but the numbering of their loss records.
        if (_firstWhat.find(" in loss record 1 of ") != std::string::npos)
            flushLeaks();
        countLeak();
        _leakThread = thread;
    } else {
        flushLeaks();
    }

    // Helgrind announces each thread once, before the first error that
    // names it; the message shows where each thread it names was created.
    std::string before;
    if (_tool == "helgrind") {
        for (const std::string& id : _named) {
            auto t = _threads.find(id);
            if (t == _threads.end())
                continue;
            std::string head = t->second.root ? "Thread #" + id + " is the program's root thread"
                                              : "Thread #" + id + " was created";
            if (!t->second.shown) {
                before += prefix() + "---Thread-Announcement------------------------------------------\n";
                before += prefix() + "\n" + prefix() + head + "\n" + t->second.printed + prefix() + "\n";
                t->second.shown = true;
            }
            if (_current.body.size() + 2 <= MaxParts) {
                _current.addLine(head);
                _current.addStack(t->second.frames);
            }
        }
        before += prefix() + "----------------------------------------------------------------\n" + prefix() + "\n";
    }

    _current.pid = _pid;
    _current.checker = checkerOf(_tool);
    _current.category = category;
    _current.thread = thread;
    _current.printed = before + _lines + prefix() + "\n";
    if (!_suppression.empty())
        _current.printed += _suppression + "\n";
    _sink(std::move(_current));
}

void ValgrindParser::Impl::endSignal()
{
    closeStack();
    std::string name = _signame.empty() ? _signo : _signame;
    if (!startsWith(name, "SIG"))
        name = "SIG" + name;
    Finding f;
    f.pid = _pid;
    f.checker = checkerOf(_tool);
    f.category = name + "_trapped";
    f.thread = _tid;
    std::string head = "Process terminating with default action of signal " + _signo + " (" + name + ")";
    f.addLine(head);
    f.printed = prefix() + head + "\n";
    if (!_event.empty()) {
        std::string where = _event + (_siaddr.empty() ? "" : " at address " + _siaddr);
        f.addLine(where);
        f.printed += prefix() + " " + where + "\n";
    }
    for (BodyPart& p : _current.body)
        f.body.push_back(std::move(p));
    f.printed += _lines + prefix() + "\n";
    _sink(std::move(f));
}

void ValgrindParser::Impl::endThread()
{
    closeStack();
    if (_hthreadid.empty())
        return;
    Thread t;
    t.root = _rootThread;
    for (BodyPart& p : _current.body)
        if (p.isStack() && t.frames.empty())
            t.frames = std::move(p.frames);
    t.printed = _lines;
    size_t bytes = _recordBytes + _lines.size();
    if (_threads.count(_hthreadid) == 0 && _threadBytes + bytes > MaxThreadBytes)
        return;
    _threadBytes += bytes;
    _threads[_hthreadid] = std::move(t);
}

void ValgrindParser::Impl::countLeak()
{
    _leaksPending = true;
    for (int k = 0; k < leakKindCount; ++k) {
        if (_kind != leakKinds[k])
            continue;
        unsigned long long bytes = 0;
        if (!directBytes(_firstWhat, bytes))
            bytes = _leakedBytes.empty() ? count(_firstWhat) : count(_leakedBytes);
        unsigned long long blocks = 0;
        if (!_leakedBlocks.empty()) {
            blocks = count(_leakedBlocks);
        } else {
            size_t in = _firstWhat.find(" bytes in ");
            blocks = in == std::string::npos ? 0 : count(_firstWhat.substr(in + 10));
        }
        _leakBytes[k] = saturatingAdd(_leakBytes[k], bytes);
        _leakBlocks[k] = saturatingAdd(_leakBlocks[k], blocks);
        _leakSeen[k] = true;
    }
}

// The summary of the leak check whose leaks were just handed on, in
// Valgrind's own words, for the kinds the file reported (with the default
// --show-leak-kinds it reports no still reachable blocks, and a zero there
// would be a lie).
void ValgrindParser::Impl::flushLeaks()
{
    if (!_leaksPending)
        return;
    _leaksPending = false;
    Finding s;
    s.pid = _pid;
    s.checker = checkerOf(_tool);
    s.category = "LEAK_summary";
    s.thread = _leakThread;
    s.addLine("LEAK SUMMARY:");
    s.printed = prefix() + "LEAK SUMMARY:\n";
    for (int k = 0; k < leakKindCount; ++k) {
        if (!_leakSeen[k])
            continue;
        std::string amount = withCommas(_leakBytes[k]) + " bytes in " + withCommas(_leakBlocks[k]) + " blocks";
        s.addLine(std::string(leakNames[k]) + ": " + amount);
        std::string padded = leakNames[k];
        padded.insert(0, 18 - padded.size(), ' ');
        s.printed += prefix() + padded + ": " + amount + "\n";
        _leakBytes[k] = _leakBlocks[k] = 0;
        _leakSeen[k] = false;
    }
    s.printed += prefix() + "\n";
    _sink(std::move(s));
}

void ValgrindParser::Impl::finish()
{
    if (_finished)
        return;
    _finished = true;
    // The process died while Valgrind wrote: what it wrote of the record is
    // all there will be.
    if (!_xml.broken() && _record == ErrorRecord && !_kind.empty())
        endError();
    else if (!_xml.broken() && _record == SignalRecord)
        endSignal();
    beginRecord(NoRecord);
    flushLeaks();
}

ValgrindParser::ValgrindParser(FindingSink sink) : _impl(new Impl(std::move(sink))) {}

ValgrindParser::~ValgrindParser() { delete _impl; }

int ValgrindParser::feed(const char* data, size_t n)
{
    if (_impl->_finished)
        return 0;
    return _impl->_xml.feed(data, n);
}

void ValgrindParser::finish() { _impl->finish(); }

void ValgrindParser::reset()
{
    // The leaks already handed on keep their summary; a record cut off by
    // the truncation is lost with the bytes that held it.
    _impl->flushLeaks();
    _impl->_xml.reset();
    _impl->restart();
}

long ValgrindParser::pid() const { return _impl->_pid; }

std::string ValgrindParser::command() const { return _impl->_command; }

std::string ValgrindParser::tool() const { return _impl->_tool; }

std::string ValgrindParser::error() const { return _impl->_xml.error(); }
