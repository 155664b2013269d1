#include "tools/lumox-run/SanitizerParser.h"

#include <cctype>
#include <cstring>
#include <utility>

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

bool isBlank(const std::string& s)
{
    for (char c : s)
        if (!isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// "==1234==ERROR: ..." (or "==prog==1234==ERROR: ..." with log_exe_name)
// -> "ERROR: ..."; other lines come back unchanged.
std::string withoutPidPrefix(const std::string& s)
{
    if (!startsWith(s, "=="))
        return s;
    size_t at = 2;
    for (int part = 0; part < 2; ++part) {
        size_t end = s.find("==", at);
        if (end == std::string::npos || end == at || s.find_first_of(" \t", at) < end)
            return s;
        std::string token = s.substr(at, end - at);
        at = end + 2;
        if (token.find_first_not_of("0123456789") == std::string::npos)
            return s.substr(at);
    }
    return s;
}

// A separator the runtimes print around reports: a run of '=' or '-'.
bool isSeparator(const std::string& s)
{
    if (s.size() < 10)
        return false;
    for (char c : s)
        if (c != '=' && c != '-')
            return false;
    return true;
}

std::string firstWord(const std::string& s)
{
    size_t end = s.find_first_of(" \t");
    return s.substr(0, end);
}

bool isDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (!isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// "path:line" or "path:line:column" -> path and line.
bool splitLocation(const std::string& token, std::string& file, int& line)
{
    size_t last = token.rfind(':');
    if (last == std::string::npos || last == 0)
        return false;
    std::string tail = token.substr(last + 1);
    if (!isDigits(tail))
        return false;
    std::string head = token.substr(0, last);
    size_t prev = head.rfind(':');
    if (prev != std::string::npos && prev > 0 && isDigits(head.substr(prev + 1))) {
        tail = head.substr(prev + 1);
        head = head.substr(0, prev);
    }
    if (head.empty() || tail.size() > 9)
        return false;
    file = head;
    line = atoi(tail.c_str());
    return line > 0;
}

// The text of a thread-sanitizer warning as a category: "data race
// (pid=12)" -> "data-race"; parenthesized remarks go.
std::string raceCategory(const std::string& text)
{
    std::string out;
    int depth = 0;
    for (char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (depth == 0)
            out += c;
    }
    size_t b = out.find_first_not_of(' ');
    size_t e = out.find_last_not_of(' ');
    out = b == std::string::npos ? std::string() : out.substr(b, e - b + 1);
    for (char& c : out)
        if (c == ' ')
            c = '-';
    return out.empty() ? "thread-sanitizer" : out;
}

}  // namespace

bool parseSanitizerFrame(const std::string& text, Frame& frame)
{
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos || text[i] != '#')
        return false;
    size_t n = i + 1;
    while (n < text.size() && isdigit(static_cast<unsigned char>(text[n])))
        ++n;
    if (n == i + 1 || n >= text.size() || text[n] != ' ')
        return false;
    std::string number = text.substr(i, n - i);
    std::string rest = text.substr(n + 1);

    frame = Frame();
    // "(BuildId: 89ab...)" and "(module+0x1f)" trail the frame.
    size_t build = rest.rfind(" (BuildId: ");
    if (build != std::string::npos)
        rest.erase(build);
    if (!rest.empty() && rest.back() == ')') {
        size_t open = rest.rfind('(');
        if (open != std::string::npos && (open == 0 || rest[open - 1] == ' ')) {
            std::string inside = rest.substr(open + 1, rest.size() - open - 2);
            size_t plus = inside.rfind("+0x");
            frame.module = plus == std::string::npos ? inside : inside.substr(0, plus);
            rest.erase(open == 0 ? 0 : open - 1);
        }
    }
    if (startsWith(rest, "0x")) {
        size_t sp = rest.find(' ');
        rest = sp == std::string::npos ? std::string() : rest.substr(sp + 1);
        if (startsWith(rest, "in "))
            rest = rest.substr(3);
    }
    while (!rest.empty() && rest.back() == ' ')
        rest.pop_back();
    size_t sp = rest.rfind(' ');
    std::string last = sp == std::string::npos ? rest : rest.substr(sp + 1);
    if (last == "<null>" || splitLocation(last, frame.file, frame.line))
        rest = sp == std::string::npos ? std::string() : rest.substr(0, sp);
    if (rest == "<null>")
        rest.clear();
    frame.function = rest;
    frame.label = number + " " + (rest.empty() ? std::string("??") : rest);
    return true;
}

std::string undefinedBehaviorCheck(const std::string& m)
{
    auto has = [&m](const char* s) { return m.find(s) != std::string::npos; };
    if (has("unsigned integer overflow"))
        return "unsigned-integer-overflow";
    if (has("signed integer overflow") || startsWith(m, "negation of"))
        return "signed-integer-overflow";
    if (has("division by zero"))
        return "integer-divide-by-zero";
    if (startsWith(m, "shift exponent"))
        return "invalid-shift-exponent";
    if (startsWith(m, "left shift of"))
        return "invalid-shift-base";
    if (startsWith(m, "index ") && has("out of bounds"))
        return "out-of-bounds-index";
    if (has("misaligned address"))
        return "misaligned-pointer-use";
    if (has("null pointer passed as argument"))
        return "nonnull-attribute";
    if (has("null pointer returned from function"))
        return "returns-nonnull-attribute";
    if (has("null pointer") && !has("offset"))
        return "null-pointer-use";
    if (has("which is not a valid value for type"))
        return has("'bool'") ? "invalid-bool-load" : "invalid-enum-load";
    if (has("reached the end of a value-returning function"))
        return "missing-return";
    if (has("reached an unreachable program point"))
        return "unreachable-call";
    if (has("variable length array bound"))
        return "non-positive-vla-index";
    if (has("outside the range of representable values"))
        return "float-cast-overflow";
    if (has("pointer index expression") || has("offset to null pointer") || has("non-zero offset")
        || has("unsigned offset"))
        return "pointer-overflow";
    if (has("does not point to an object of type") || has("dynamic type"))
        return "dynamic-type-mismatch";
    if (startsWith(m, "implicit conversion"))
        return "implicit-conversion";
    if (has("builtin"))
        return "invalid-builtin-use";
    return "undefined-behavior";
}

std::string signalCategory(const std::string& word)
{
    static const char* const signals[] = {"SEGV", "BUS", "FPE", "ILL", "ABRT", "TRAP"};
    for (const char* s : signals)
        if (word == s)
            return std::string("SIG") + s + "_trapped";
    return word;
}

SanitizerParser::SanitizerParser(long pid, FindingSink sink, Source source)
    : _pid(pid), _sink(std::move(sink)), _source(source), _dropping(false), _kind(NoReport), _afterStack(false)
{
}

void SanitizerParser::feed(const char* data, size_t n)
{
    const char* end = data + n;
    while (data < end) {
        const char* nl = static_cast<const char*>(memchr(data, '\n', end - data));
        const char* stop = nl ? nl : end;
        if (!_dropping) {
            size_t room = MaxLine - _partial.size();
            size_t take = static_cast<size_t>(stop - data);
            _partial.append(data, take < room ? take : room);
            _dropping = take >= room;
        }
        if (!nl)
            break;
        std::string text;
        text.swap(_partial);
        _dropping = false;
        line(std::move(text));
        data = nl + 1;
    }
}

void SanitizerParser::finish()
{
    if (!_partial.empty()) {
        std::string text;
        text.swap(_partial);
        line(std::move(text));
    }
    _dropping = false;
    if (_kind == NoReport)
        return;
    // A log report without its closing line was cut short by the process's
    // end; one on standard error simply had no blank line after it.
    if (_source == LogFile) {
        closeStack();
        addText("(the report ends here: the process stopped before it was complete)");
    }
    end();
}

void SanitizerParser::reset()
{
    _partial.clear();
    _dropping = false;
    _kind = NoReport;
    _current = Finding();
    _frames.clear();
    _leaks.clear();
    _afterStack = false;
}

void SanitizerParser::line(std::string text)
{
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    std::string bare = withoutPidPrefix(text);
    if (startsReport(text, bare))
        return;
    if (_kind == NoReport)
        return;
    _current.printed += text + "\n";

    Frame frame;
    if (parseSanitizerFrame(bare, frame)) {
        if (_frames.size() < 512)
            _frames.push_back(frame);
        return;
    }
    if (isBlank(bare)) {
        closeStack();
        // Reports on standard error have no SUMMARY: the blank line after
        // the stack closes them.
        if (_kind == UndefinedReport && _source == StandardError)
            end();
        return;
    }
    if (startsWith(bare, "SUMMARY: ")) {
        closeStack();
        std::string rest = bare.substr(9);
        size_t colon = rest.find(": ");
        std::string word = colon == std::string::npos ? std::string() : firstWord(rest.substr(colon + 2));
        if (_kind == LeakReport) {
            if (!_current.category.empty())
                _leaks.push_back(std::move(_current));
            Finding summary;
            summary.pid = _pid;
            summary.checker = "LeakSanitizer";
            summary.category = "LEAK_summary";
            summary.addLine(bare);
            summary.printed = text + "\n";
            _current = std::move(summary);
        } else {
            _current.addLine(bare);
            if (!word.empty() && _kind != RaceReport)
                _current.category = signalCategory(word);
        }
        end();
        return;
    }
    if (isSeparator(bare))
        return;
    if (_kind == LeakReport) {
        if (startsWith(bare, "Direct leak of ") || startsWith(bare, "Indirect leak of ")) {
            closeStack();
            if (!_current.category.empty())
                _leaks.push_back(std::move(_current));
            _current = Finding();
            _current.pid = _pid;
            _current.checker = "LeakSanitizer";
            _current.category = startsWith(bare, "Direct") ? "LEAK_direct" : "LEAK_indirect";
            _current.printed = text + "\n";
        }
        // Lines before the first leak belong to none.
        if (!_current.category.empty())
            addText(bare);
        return;
    }
    if (_kind == UndefinedReport && _source == StandardError && _frames.empty()) {
        // Without a stack, a report on standard error is its first line and
        // the notes right after it; anything else is the program's output.
        bool note = bare.find(": note: ") != std::string::npos || startsWith(bare, " ");
        if (!note) {
            end();
            return;
        }
    }
    addText(bare);
}

bool SanitizerParser::startsReport(const std::string& text, const std::string& bare)
{
    if (startsWith(bare, "ERROR: ")) {
        std::string rest = bare.substr(7);
        size_t colon = rest.find(": ");
        if (colon == std::string::npos || colon < 9 || rest.compare(colon - 9, 9, "Sanitizer") != 0)
            return false;
        std::string checker = rest.substr(0, colon);
        std::string what = rest.substr(colon + 2);
        if (startsWith(what, "detected memory leaks")) {
            begin(LeakReport, "LeakSanitizer", "");
            _current.printed = text + "\n";
            return true;
        }
        std::string word = firstWord(what);
        if (word == "attempting" && what.size() > 11)
            word = firstWord(what.substr(11));
        begin(ErrorReport, checker, signalCategory(word));
        _current.printed = text + "\n";
        addText(bare);
        return true;
    }
    static const char warning[] = "WARNING: ThreadSanitizer: ";
    if (startsWith(bare, warning)) {
        begin(RaceReport, "ThreadSanitizer", raceCategory(bare.substr(sizeof warning - 1)));
        _current.printed = text + "\n";
        addText(bare);
        return true;
    }
    static const char runtimeError[] = ": runtime error: ";
    size_t at = bare.find(runtimeError);
    if (at != std::string::npos) {
        begin(UndefinedReport, "UndefinedBehaviorSanitizer", undefinedBehaviorCheck(bare.substr(at + sizeof runtimeError - 1)));
        _current.printed = text + "\n";
        std::string file;
        int line = 0;
        if (splitLocation(bare.substr(0, at), file, line)) {
            // Only used when no stack names a better place (see end()).
            _current.file = file;
            _current.line = line;
        }
        addText(bare);
        return true;
    }
    return false;
}

void SanitizerParser::begin(Kind kind, const std::string& checker, const std::string& category)
{
    if (_kind != NoReport) {
        closeStack();
        end();
    }
    _kind = kind;
    _afterStack = false;
    _current = Finding();
    _current.pid = _pid;
    _current.checker = checker;
    _current.category = category;
    _frames.clear();
    _leaks.clear();
}

void SanitizerParser::addText(const std::string& text)
{
    closeStack();
    if (_current.body.size() < 2048)
        _current.addLine(text);
    if (_kind == ErrorReport || _kind == RaceReport)
        noteThread(text);
}

void SanitizerParser::closeStack()
{
    if (_frames.empty())
        return;
    _current.addStack(std::move(_frames));
    _frames.clear();
    _afterStack = true;
}

void SanitizerParser::end()
{
    closeStack();
    Kind kind = _kind;
    _kind = NoReport;
    if (kind == LeakReport) {
        // A leak report cut short still gives the leaks read so far.
        for (Finding& leak : _leaks)
            emit(leak);
        _leaks.clear();
        if (!_current.category.empty())
            emit(_current);
    } else if (kind != NoReport) {
        // The runtime-error line names a path relative to where the program
        // was compiled; a stack frame names it in full.
        bool hasStack = false;
        for (const BodyPart& p : _current.body)
            hasStack = hasStack || p.isStack();
        if (kind == UndefinedReport && hasStack) {
            _current.file.clear();
            _current.line = 0;
        }
        emit(_current);
    }
    _current = Finding();
    _afterStack = false;
}

void SanitizerParser::emit(Finding& f)
{
    if (_sink)
        _sink(std::move(f));
}

void SanitizerParser::noteThread(const std::string& text)
{
    if (!_current.thread.empty())
        return;
    if (text.find(" by main thread") != std::string::npos) {
        _current.thread = "main";
        return;
    }
    // "... thread T3", "by thread T3:", "(pc .. sp .. T0)"
    for (size_t p = text.find('T'); p != std::string::npos; p = text.find('T', p + 1)) {
        if (p == 0 || (text[p - 1] != ' ' && text[p - 1] != '('))
            continue;
        size_t e = p + 1;
        while (e < text.size() && isdigit(static_cast<unsigned char>(text[e])))
            ++e;
        if (e == p + 1 || (e < text.size() && text[e] != ' ' && text[e] != ')' && text[e] != ':'))
            continue;
        _current.thread = text.substr(p, e - p);
        return;
    }
}
