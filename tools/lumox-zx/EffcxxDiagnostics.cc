#include "tools/lumox-zx/EffcxxDiagnostics.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace effcxx {

namespace {

// Rules and what the compiler says when one is broken. Severities: 1
// informational, 2 possible violation, 3 violation, 4 possible severe
// violation, 5 severe violation (docs/static-analysis-protocol.md).
struct Pattern {
    const char* option;  // the option the diagnostic names, or null for any
    const char* text;    // a piece of its first line
    Rule rule;
    int severity;
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
    {"effc++", "has pointer data members", item11, 4},
    {"effc++", "should be initialized in the member initialization list", item12, 2},
    {"reorder", "will be initialized after", item13, 2},
    {"non-virtual-dtor", "base class", item14, 4},
    {"non-virtual-dtor", "has virtual functions and accessible non-virtual destructor", item14, 5},
    {"delete-non-virtual-dtor", "", item14, 5},
    {"effc++", "should return a reference to", item15, 3},
    {"effc++", "should return by value", item23, 3},
    {"effc++", "prefix", moreItem6, 1},
    {"effc++", "postfix", moreItem6, 1},
    {"effc++", "always evaluates both arguments", moreItem7, 3},
};

bool startsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// "file:line:col: kind: message" -> its parts; false for other lines.
bool splitLocation(const std::string& line, std::string& file, int& number, std::string& kind, std::string& rest)
{
    // The file name may hold ':' itself: look for ":<digits>:" from the left.
    for (size_t colon = line.find(':'); colon != std::string::npos; colon = line.find(':', colon + 1)) {
        size_t p = colon + 1;
        size_t digits = p;
        while (digits < line.size() && isdigit(static_cast<unsigned char>(line[digits])))
            ++digits;
        if (digits == p || digits >= line.size() || line[digits] != ':')
            continue;
        number = atoi(line.c_str() + p);
        // An optional column follows.
        size_t q = digits + 1;
        size_t col = q;
        while (col < line.size() && isdigit(static_cast<unsigned char>(line[col])))
            ++col;
        if (col > q && col < line.size() && line[col] == ':')
            q = col + 1;
        while (q < line.size() && line[q] == ' ')
            ++q;
        size_t end = line.find(':', q);
        if (end == std::string::npos)
            return false;
        kind = line.substr(q, end - q);
        if (kind != "warning" && kind != "error" && kind != "note" && kind != "fatal error")
            return false;
        file = line.substr(0, colon);
        rest = end + 1 < line.size() ? line.substr(end + 1) : "";
        if (!rest.empty() && rest[0] == ' ')
            rest.erase(0, 1);
        return true;
    }
    return false;
}

// The option in brackets at the end of a message, without "-W" / "-Werror=".
std::string optionOf(const std::string& message)
{
    size_t open = message.rfind(" [-W");
    if (open == std::string::npos || message.back() != ']')
        return "";
    std::string option = message.substr(open + 4, message.size() - open - 5);
    if (startsWith(option, "error="))
        option.erase(0, 6);
    return option;
}

// The first text quoted with '...' (or the typographic quotes of a UTF-8
// locale).
std::string firstQuoted(const std::string& s)
{
    static const char* const opens[] = {"'", "\xe2\x80\x98"};
    static const char* const closes[] = {"'", "\xe2\x80\x99"};
    size_t best = std::string::npos;
    int which = 0;
    for (int k = 0; k < 2; ++k) {
        size_t at = s.find(opens[k]);
        if (at < best) {
            best = at;
            which = k;
        }
    }
    if (best == std::string::npos)
        return "";
    size_t start = best + strlen(opens[which]);
    size_t end = s.find(closes[which], start);
    return end == std::string::npos ? "" : s.substr(start, end - start);
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

bool classify(Diagnostic& d)
{
    const std::string& option = d.option;
    if (option != "effc++" && option != "non-virtual-dtor" && option != "delete-non-virtual-dtor" &&
        option != "reorder")
        return false;
    const Pattern* found = nullptr;
    for (const Pattern& p : patterns)
        if (option == p.option && d.message.find(p.text) != std::string::npos) {
            found = &p;
            break;
        }
    d.mapped = true;
    d.rule = found ? found->rule : unknownRule;
    d.severity = found ? found->severity : 3;
    d.className = classOf(firstQuoted(d.message));
    // "'operator=' should return ..." names no class; the member function
    // it stands in does.
    if (d.className.empty() && d.context.find("In member function") != std::string::npos)
        d.className = classOf(firstQuoted(d.context.substr(d.context.find("In member function"))));
    return true;
}

// "file: In constructor ...:", "file: At global scope:", "In file included
// from x.h:3," and its "                 from y.cc:1:" lines.
static bool isContextLine(const std::string& line)
{
    if (startsWith(line, "In file included from") ||
        (startsWith(line, "  ") && line.find(" from ") != std::string::npos))
        return true;
    size_t at = line.find(": In ");
    if (at == std::string::npos)
        at = line.find(": At ");
    return at != std::string::npos && !line.empty() && line.back() == ':';
}

std::vector<Diagnostic> parse(const std::string& output, std::string* other)
{
    std::vector<Diagnostic> out;
    std::istringstream in(output);
    std::string line;
    // Where the diagnostics stand: it holds until the compiler says otherwise.
    std::string context;
    bool contextOpen = false;  // the last line was a context line
    bool open = false;         // the last diagnostic takes excerpt and note lines
    while (std::getline(in, line)) {
        std::string file, kind, rest;
        int number = 0;
        bool wasContext = contextOpen;
        contextOpen = false;
        if (splitLocation(line, file, number, kind, rest)) {
            // "warning:   but does not declare ..." continues the one before.
            bool continuation = kind != "note" && startsWith(rest, "  ");
            if ((kind == "note" || continuation) && open) {
                out.back().text += line + "\n";
                continue;
            }
            if (kind != "note") {
                Diagnostic d;
                d.file = file;
                d.line = number;
                d.message = rest;
                d.option = optionOf(rest);
                d.context = context;
                d.text = line + "\n";
                out.push_back(d);
                open = true;
                continue;
            }
        } else if (open && line.find('|') != std::string::npos && (startsWith(line, " ") || line.empty())) {
            // The source excerpt under a diagnostic: "   12 | code" and "      |  ^~~".
            out.back().text += line + "\n";
            continue;
        } else if (isContextLine(line)) {
            if (!wasContext)
                context.clear();
            context += line + "\n";
            contextOpen = true;
            open = false;
            continue;
        }
        open = false;
        if (other)
            *other += line + "\n";
    }
    return out;
}

}  // namespace effcxx
