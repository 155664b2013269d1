#include "tools/lumox-zx/EffcxxDiagnostics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tools/lumox-zx/SourceScopes.h"

namespace effcxx {

namespace {

// Where the class of a diagnostic comes from: the quoted name of the class,
// the quoted name of a member or member function, or the source at the
// diagnostic's place (the message names no class).
enum ClassFrom { NamedClass, NamedMember, SourcePlace };

// What the compiler says when a rule is broken: the option in brackets and
// the message with each quoted name as '%'. Severities: 1 informational, 2
// possible violation, 3 violation, 4 possible severe violation, 5 severe
// violation (docs/static-analysis-protocol.md).
struct Pattern {
    const char* option;  // without "-W"
    const char* shape;
    Rule rule;
    int severity;
    ClassFrom classFrom;
};

const Rule item11 = {11, "Effective C++",
                     "Declare a copy constructor and an assignment operator for classes with dynamically "
                     "allocated memory"};
const Rule item12 = {12, "Effective C++", "Prefer initialization to assignment in constructors"};
const Rule item13 = {13, "Effective C++",
                     "List members in an initialization list in the order in which they are declared"};
const Rule item14 = {14, "Effective C++", "Make sure base classes have virtual destructors"};
const Rule item15 = {15, "Effective C++", "Have operator= return a reference to *this"};
const Rule item23 = {23, "Effective C++", "Don't try to return a reference when you must return an object"};
const Rule moreItem6 = {6, "More Effective C++",
                        "Distinguish between prefix and postfix forms of increment and decrement operators"};
const Rule moreItem7 = {7, "More Effective C++", "Never overload &&, ||, or ,"};
const Rule unknownRule = {0, "Effective C++", ""};

const Pattern patterns[] = {
    // g++
    {"effc++", "% has pointer data members", item11, 4, NamedClass},
    {"effc++", "% should be initialized in the member initialization list", item12, 2, NamedMember},
    {"reorder", "% will be initialized after", item13, 2, NamedMember},
    {"reorder", "base % will be initialized after", item13, 2, SourcePlace},
    {"non-virtual-dtor", "% has virtual functions and accessible non-virtual destructor", item14, 5, NamedClass},
    {"non-virtual-dtor", "base class % has accessible non-virtual destructor", item14, 4, NamedClass},
    {"delete-non-virtual-dtor",
     "deleting object of polymorphic class type % which has non-virtual destructor might cause undefined behavior",
     item14, 5, NamedClass},
    {"delete-non-virtual-dtor",
     "deleting object of abstract class type % which has non-virtual destructor will cause undefined behavior",
     item14, 5, NamedClass},
    {"effc++", "% should return a reference to %", item15, 3, SourcePlace},
    {"effc++", "% should return by value", item23, 3, NamedMember},
    {"effc++", "prefix % should return %", moreItem6, 1, NamedMember},
    {"effc++", "postfix % should return %", moreItem6, 1, NamedMember},
    {"effc++", "user-defined % always evaluates both arguments", moreItem7, 3, NamedMember},
    // clang
    {"non-virtual-dtor", "% has virtual functions but non-virtual destructor", item14, 5, NamedClass},
    {"delete-non-abstract-non-virtual-dtor",
     "delete called on non-final % that has virtual functions but non-virtual destructor", item14, 5, NamedClass},
    {"delete-non-abstract-non-virtual-dtor",
     "destructor called on non-final % that has virtual functions but non-virtual destructor", item14, 5,
     NamedClass},
    {"delete-abstract-non-virtual-dtor", "delete called on % that is abstract but has non-virtual destructor",
     item14, 5, NamedClass},
    {"delete-abstract-non-virtual-dtor", "destructor called on % that is abstract but has non-virtual destructor",
     item14, 5, NamedClass},
    {"reorder-ctor", "field % will be initialized after field %", item13, 2, SourcePlace},
    {"reorder-ctor", "field % will be initialized after base %", item13, 2, SourcePlace},
    {"reorder-ctor", "base class % will be initialized after field %", item13, 2, SourcePlace},
    {"reorder-ctor", "base class % will be initialized after base %", item13, 2, SourcePlace},
    {"reorder-ctor", "initializer order does not match the declaration order", item13, 2, SourcePlace},
};

// The options whose diagnostics are violations, and what a diagnostic of
// theirs that no pattern knows counts as.
struct OptionRule {
    const char* option;
    Rule rule;
    int severity;
};

const OptionRule optionRules[] = {
    {"effc++", unknownRule, 3},
    {"reorder", item13, 2},
    {"reorder-ctor", item13, 2},
    {"non-virtual-dtor", item14, 4},
    {"delete-non-virtual-dtor", item14, 5},
    {"delete-non-abstract-non-virtual-dtor", item14, 5},
    {"delete-abstract-non-virtual-dtor", item14, 5},
};

const char* const kinds[] = {"warning", "error", "fatal error", "note", "remark", "sorry, unimplemented",
                             "internal compiler error"};

bool startsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

bool endsWith(const std::string& s, const char* suffix)
{
    size_t n = strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// "file:line[:col]:rest" -> its parts; false for other lines.
bool splitLocation(const std::string& line, std::string& file, int& number, int& column, std::string& rest)
{
    // The file name may hold ':' itself: look for ":<digits>:" from the left.
    for (size_t colon = line.find(':'); colon != std::string::npos; colon = line.find(':', colon + 1)) {
        size_t p = colon + 1;
        size_t digits = p;
        while (digits < line.size() && isdigit(static_cast<unsigned char>(line[digits])))
            ++digits;
        if (digits == p || colon == 0 || digits >= line.size() || line[digits] != ':')
            continue;
        number = atoi(line.c_str() + p);
        column = 0;
        // An optional column follows.
        size_t q = digits + 1;
        size_t col = q;
        while (col < line.size() && isdigit(static_cast<unsigned char>(line[col])))
            ++col;
        if (col > q && col < line.size() && line[col] == ':') {
            column = atoi(line.c_str() + q);
            q = col + 1;
        }
        file = line.substr(0, colon);
        rest = line.substr(q);
        return true;
    }
    return false;
}

// " warning: text" -> "warning" and "text"; false when `rest` names no kind.
bool splitKind(const std::string& rest, std::string& kind, std::string& message)
{
    if (rest.size() < 2 || rest[0] != ' ' || rest[1] == ' ')
        return false;
    for (const char* k : kinds) {
        size_t n = strlen(k);
        if (rest.compare(1, n, k) == 0 && rest.compare(1 + n, 1, ":") == 0) {
            kind = k;
            message = rest.substr(std::min(rest.size(), n + 2));
            if (!message.empty() && message[0] == ' ')
                message.erase(0, 1);
            return true;
        }
    }
    return false;
}

// The option in brackets at the end of a message, without "-W", "-Werror="
// (g++) or "-Werror,-W" (clang).
std::string optionOf(const std::string& message)
{
    size_t open = message.rfind(" [-W");
    if (open == std::string::npos || message.back() != ']')
        return "";
    std::string option = message.substr(open + 2, message.size() - open - 3);
    size_t comma = option.rfind(",-W");
    if (comma != std::string::npos)
        option.erase(0, comma + 1);
    option.erase(0, 2);
    if (startsWith(option, "error="))
        option.erase(0, 6);
    return option;
}

// The message without its option, each text quoted with '...' (or the
// typographic quotes of a UTF-8 locale) replaced by '%'; the quoted texts
// in `quoted`.
std::string shapeOf(const std::string& message, std::vector<std::string>& quoted)
{
    std::string m = message;
    size_t option = m.rfind(" [-W");
    if (option != std::string::npos && m.back() == ']')
        m.erase(option);
    static const char* const opens[] = {"'", "\xe2\x80\x98"};
    static const char* const closes[] = {"'", "\xe2\x80\x99"};
    std::string shape;
    size_t at = 0;
    while (at < m.size()) {
        size_t open = std::string::npos;
        int which = 0;
        for (int k = 0; k < 2; ++k) {
            size_t found = m.find(opens[k], at);
            if (found < open) {
                open = found;
                which = k;
            }
        }
        size_t start = open == std::string::npos ? open : open + strlen(opens[which]);
        size_t close = start == std::string::npos ? start : m.find(closes[which], start);
        if (close == std::string::npos) {
            shape += m.substr(at);
            break;
        }
        shape += m.substr(at, open - at) + "%";
        quoted.push_back(m.substr(start, close - start));
        at = close + strlen(closes[which]);
    }
    return shape;
}

// The lines that say where the diagnostics after them stand: "file: In
// constructor ...:", "file: At global scope:", "In file included from x.h:3,"
// and, right after it, its "                 from y.cc:1:" lines.
bool isContextLine(const std::string& line, bool afterContext)
{
    if (startsWith(line, "In file included from"))
        return true;
    if (afterContext && startsWith(line, " ") && line.find_first_not_of(' ') != std::string::npos &&
        line.compare(line.find_first_not_of(' '), 5, "from ") == 0)
        return true;
    if (line.empty() || line.back() != ':' || line[0] == ' ' || line[0] == '/' || line[0] == '*')
        return false;
    return line.find(": In ") != std::string::npos || line.find(": At ") != std::string::npos;
}

// Lines that never belong to the diagnostic before them: the compiler
// driver's own diagnostics ("g++: error: ...", "cc1plus: all warnings being
// treated as errors"), clang's count and g++'s "compilation terminated.".
bool standsAlone(const std::string& line)
{
    if (line == "compilation terminated." ||
        (!line.empty() && isdigit(static_cast<unsigned char>(line[0])) && endsWith(line, " generated.")))
        return true;
    size_t colon = line.find(": ");
    if (colon == std::string::npos || colon == 0 || line.find(' ') < colon)
        return false;
    std::string kind, message;
    std::string rest = line.substr(colon + 1);
    return splitKind(rest, kind, message) || endsWith(line, " warnings being treated as errors");
}

std::string namedClass(const std::string& quoted)
{
    for (const char* key : {"class ", "struct ", "union "})
        if (startsWith(quoted, key))
            return quoted.substr(strlen(key));
    return quoted;
}

}  // namespace

std::string classOf(const std::string& quoted)
{
    for (const char* kind : {"class ", "struct ", "union "})
        if (startsWith(quoted, kind))
            return quoted.substr(strlen(kind));
    std::string head = quoted.substr(0, quoted.find('('));
    size_t sep = head.rfind("::");
    if (sep == std::string::npos) {
        // A bare type name; operators and free functions have no class.
        bool plain = !head.empty() && head.find(' ') == std::string::npos && !startsWith(head, "operator");
        return plain ? head : "";
    }
    std::string qualifier = head.substr(0, sep);
    // Drop a return type: the class starts after the last blank outside <>.
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < qualifier.size(); ++i) {
        char c = qualifier[i];
        if (c == '<')
            ++depth;
        else if (c == '>')
            --depth;
        else if (c == ' ' && depth == 0)
            start = i + 1;
    }
    std::string cls = qualifier.substr(start);
    while (!cls.empty() && (cls[0] == '&' || cls[0] == '*'))
        cls.erase(0, 1);
    return cls;
}

bool classify(Diagnostic& d, const SourceReader& source)
{
    if (d.kind.empty() || d.kind == "note")
        return false;
    const OptionRule* known = nullptr;
    for (const OptionRule& o : optionRules)
        if (d.option == o.option)
            known = &o;
    if (!known)
        return false;
    std::vector<std::string> quoted;
    std::string shape = shapeOf(d.message, quoted);
    const Pattern* found = nullptr;
    for (const Pattern& p : patterns)
        if (d.option == p.option && shape == p.shape) {
            found = &p;
            break;
        }
    d.mapped = true;
    d.rule = found ? found->rule : known->rule;
    d.severity = found ? found->severity : known->severity;
    ClassFrom from = found ? found->classFrom : SourcePlace;
    std::string first = quoted.empty() ? "" : quoted[0];
    d.className.clear();
    if (from == NamedClass)
        d.className = namedClass(first);
    else if (from == NamedMember)
        d.className = classOf(first);
    if (d.className.empty() && source && d.line > 0)
        d.className = classAt(source(d.file), d.line, d.column);
    return true;
}

std::vector<Diagnostic> parse(const std::string& output)
{
    std::vector<Diagnostic> out;
    std::istringstream in(output);
    std::string line;
    // Where the diagnostics stand: it holds until the compiler says otherwise.
    std::string context;
    int block = 0;
    bool blockUsed = true;      // something was printed under the current context block
    bool afterContext = false;  // the last line was a context line
    bool open = false;          // the last diagnostic takes excerpt, note and continuation lines
    // Lines of no diagnostic; consecutive ones make one entry.
    auto other = [&](const std::string& text) {
        int b = blockUsed ? 0 : block;
        blockUsed = true;
        if (b == 0 && !out.empty() && out.back().kind.empty()) {
            out.back().text += text;
            return;
        }
        Diagnostic d;
        d.context = b ? context : "";
        d.contextBlock = b;
        d.text = text;
        out.push_back(d);
    };
    while (std::getline(in, line)) {
        std::string file, rest, kind, message;
        int number = 0, column = 0;
        bool wasContext = afterContext;
        afterContext = false;
        bool located = splitLocation(line, file, number, column, rest);
        if (located && splitKind(rest, kind, message)) {
            // "warning:   but does not declare ..." continues the one before.
            bool continuation = kind != "note" && startsWith(message, "  ");
            if ((kind == "note" || continuation) && open) {
                out.back().text += line + "\n";
                continue;
            }
            Diagnostic d;
            d.kind = kind;
            d.file = file;
            d.line = number;
            d.column = column;
            d.message = message;
            d.option = optionOf(message);
            d.context = context;
            d.contextBlock = context.empty() ? 0 : block;
            d.text = line + "\n";
            out.push_back(d);
            blockUsed = true;
            open = true;
            continue;
        }
        // g++'s "file:13:24:   required from here" belongs to the context.
        if ((located && startsWith(rest, "  ")) || isContextLine(line, wasContext)) {
            if (!wasContext) {
                if (!blockUsed)
                    other("");
                context.clear();
                ++block;
                blockUsed = false;
            }
            context += line + "\n";
            afterContext = true;
            open = false;
            continue;
        }
        // The source excerpt under a diagnostic: g++'s "   12 | code" and
        // "      |  ^~~", clang's code, caret and fix-it lines.
        if (open && !standsAlone(line)) {
            out.back().text += line + "\n";
            continue;
        }
        open = false;
        other(line + "\n");
    }
    if (!blockUsed)
        other("");
    return out;
}

std::string unmapped(const std::vector<Diagnostic>& all)
{
    std::string shown;
    int lastBlock = 0;
    for (const Diagnostic& d : all) {
        if (d.mapped)
            continue;
        if (d.contextBlock != 0 && d.contextBlock != lastBlock) {
            shown += d.context;
            lastBlock = d.contextBlock;
        }
        shown += d.text;
    }
    return shown;
}

}  // namespace effcxx
