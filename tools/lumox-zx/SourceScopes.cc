#include "tools/lumox-zx/SourceScopes.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace effcxx {

namespace {

typedef std::vector<std::string> Tokens;
const size_t npos = std::string::npos;

enum Kind { Namespace, Class, Other };

// One pair of braces: what opened it, and the tokens in front of its brace
// (for a function body, the function's declarator).
struct Scope {
    Kind kind;
    std::string name;  // of a namespace or class; "" for extern "C" and the others
    Tokens head;
    bool expression;   // a lambda or braced initializer inside a declaration
};

bool isWordChar(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isWord(const std::string& t) { return !t.empty() && (isalpha(static_cast<unsigned char>(t[0])) || t[0] == '_'); }
bool isClassKey(const std::string& t) { return t == "class" || t == "struct" || t == "union"; }

// The byte offset of a line and column of the text; npos beyond it.
size_t offsetOf(const std::string& s, int line, int column)
{
    if (line < 1)
        return npos;
    size_t at = 0;
    for (int l = 1; l < line; ++l) {
        at = s.find('\n', at);
        if (at == npos)
            return npos;
        ++at;
    }
    int col = 1;
    while (at < s.size() && s[at] != '\n' && col < column) {
        col = s[at] == '\t' ? ((col - 1) / 8 + 1) * 8 + 1 : col + 1;
        ++at;
        while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80)
            ++at;
    }
    return at;
}

// The tokens of a C++ text up to a byte offset: words, numbers, literals as
// "\"\"", "::" and single punctuation characters. Comments and
// preprocessor lines are skipped.
class Lexer {
public:
    Lexer(const std::string& s, size_t end) : _s(s), _end(end < s.size() ? end : s.size()), _at(0), _lineStart(true) {}

    // From now on the tokens after the end too.
    void readToEnd() { _end = _s.size(); }

    // The next token starting before the end, or "".
    std::string next()
    {
        while (_at < _end) {
            char c = _s[_at];
            if (c == '\n') {
                _lineStart = true;
                ++_at;
            } else if (isspace(static_cast<unsigned char>(c))) {
                ++_at;
            } else if (c == '#' && _lineStart) {
                skipDirective();
            } else if (c == '/' && peek(1) == '/') {
                _at = until("\n", _at);
            } else if (c == '/' && peek(1) == '*') {
                size_t close = _s.find("*/", _at + 2);
                _at = close == npos ? _s.size() : close + 2;
            } else {
                _lineStart = false;
                return token();
            }
        }
        return "";
    }

private:
    char peek(size_t k) const { return _at + k < _s.size() ? _s[_at + k] : '\0'; }
    size_t until(const char* what, size_t from) const
    {
        size_t at = _s.find(what, from);
        return at == npos ? _s.size() : at;
    }

    // A directive ends at a newline that no backslash continues.
    void skipDirective()
    {
        while (_at < _s.size() && _s[_at] != '\n') {
            if (_s[_at] == '\\' && peek(1) == '\n')
                ++_at;
            ++_at;
        }
    }

    // A quoted literal from the opening quote at _at, escapes included.
    void skipQuoted()
    {
        char quote = _s[_at++];
        while (_at < _s.size() && _s[_at] != quote && _s[_at] != '\n')
            _at += _s[_at] == '\\' ? 2 : 1;
        if (_at < _s.size() && _s[_at] == quote)
            ++_at;
    }

    // R"delim( ... )delim", from the opening quote at _at.
    void skipRaw()
    {
        size_t open = _s.find('(', _at);
        if (open == npos) {
            _at = _s.size();
            return;
        }
        std::string close = ")" + _s.substr(_at + 1, open - _at - 1) + "\"";
        size_t end = _s.find(close, open);
        _at = end == npos ? _s.size() : end + close.size();
    }

    std::string token()
    {
        char c = _s[_at];
        if (c == '"' || c == '\'') {
            skipQuoted();
            return "\"\"";
        }
        if (isdigit(static_cast<unsigned char>(c)) || (c == '.' && isdigit(static_cast<unsigned char>(peek(1))))) {
            // A number, digit separators and exponent signs included.
            size_t start = _at;
            while (_at < _s.size() && (isWordChar(_s[_at]) || _s[_at] == '.' || _s[_at] == '\'' ||
                                       ((_s[_at] == '+' || _s[_at] == '-') && strchr("eEpP", _s[_at - 1]))))
                ++_at;
            return _s.substr(start, _at - start);
        }
        if (isWordChar(c)) {
            size_t start = _at;
            while (_at < _s.size() && isWordChar(_s[_at]))
                ++_at;
            std::string word = _s.substr(start, _at - start);
            bool prefix = word == "L" || word == "u" || word == "U" || word == "u8";
            bool raw = word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R";
            if (_at < _s.size() && _s[_at] == '"' && raw) {
                skipRaw();
                return "\"\"";
            }
            if (_at < _s.size() && (_s[_at] == '"' || _s[_at] == '\'') && prefix) {
                skipQuoted();
                return "\"\"";
            }
            return word;
        }
        if (c == ':' && peek(1) == ':') {
            _at += 2;
            return "::";
        }
        ++_at;
        return std::string(1, c);
    }

    const std::string& _s;
    size_t _end;
    size_t _at;
    bool _lineStart;
};

// The tokens from..to as the compiler writes a name: "H<T, N>", "const char*".
std::string joined(const Tokens& t, size_t from, size_t to)
{
    std::string s;
    for (size_t k = from; k < to; ++k) {
        if (!s.empty() && isWordChar(s.back()) && isWordChar(t[k][0]))
            s += ' ';
        s += t[k];
        if (t[k] == ",")
            s += ' ';
    }
    return s;
}

// The index of the '<' that the '>' at `close` ends; npos when unmatched.
size_t openingAngle(const Tokens& t, size_t close)
{
    int depth = 0;
    for (size_t k = close + 1; k-- > 0;) {
        if (t[k] == ">")
            ++depth;
        else if (t[k] == "<" && --depth == 0)
            return k;
    }
    return npos;
}

// The index of the '>' or ')' that closes the bracket opened at `open`.
size_t closing(const Tokens& t, size_t open)
{
    const std::string& o = t[open];
    const char* c = o == "<" ? ">" : o == "(" ? ")" : "]";
    int depth = 0;
    for (size_t k = open; k < t.size(); ++k) {
        if (t[k] == o)
            ++depth;
        else if (t[k] == c && --depth == 0)
            return k;
    }
    return t.size();
}

// The qualified name that ends just before `end` ("ns::Holder<int>"): its
// first index, npos when no name ends there.
size_t nameStart(const Tokens& t, size_t end)
{
    size_t k = end;
    for (;;) {
        if (k == 0)
            return npos;
        size_t segment = k - 1;
        if (t[segment] == ">") {
            segment = openingAngle(t, segment);
            if (segment == npos || segment == 0)
                return npos;
            --segment;
        }
        if (!isWord(t[segment]))
            return npos;
        if (segment >= 2 && t[segment - 1] == "::" && (isWord(t[segment - 2]) || t[segment - 2] == ">"))
            k = segment - 1;
        else
            return segment;
    }
}

// The names of a template parameter list between `open` and `close`,
// written as the compiler writes the template's own arguments.
std::string parameterNames(const Tokens& t, size_t open, size_t close)
{
    std::string names;
    size_t start = open + 1;
    int depth = 0;
    for (size_t k = open + 1; k <= close; ++k) {
        if (t[k] == "<" || t[k] == "(")
            ++depth;
        else if ((t[k] == ">" || t[k] == ")") && k < close)
            --depth;
        if (k < close && !(depth == 0 && t[k] == ","))
            continue;
        size_t end = start;
        bool pack = false;
        while (end < k && t[end] != "=") {
            pack = pack || t[end] == ".";
            ++end;
        }
        if (end > start + 1 && isWord(t[end - 1])) {
            if (!names.empty())
                names += ", ";
            names += t[end - 1] + (pack ? " ..." : "");
        }
        start = k + 1;
    }
    return names;
}

// What the brace after `head` opens; `name` gets a namespace's or class's name.
Kind kindOf(const Tokens& head, std::string& name)
{
    name.clear();
    for (size_t k = 0; k < head.size(); ++k)
        if (head[k] == "namespace") {
            // "namespace a::b", not a macro after it ("namespace std _GLIBCXX_VISIBILITY(default)").
            for (size_t j = k + 1; j < head.size() && isWord(head[j]) && head[j] != "inline"; j += 2) {
                name += head[j];
                if (j + 1 >= head.size() || head[j + 1] != "::")
                    break;
                name += "::";
            }
            if (name.empty())
                name = "{anonymous}";
            return Namespace;
        }
    if (head.size() == 2 && head[0] == "extern" && head[1] == "\"\"")
        return Namespace;

    // The class key outside template parameter lists and parentheses.
    size_t key = npos;
    int depth = 0;
    for (size_t k = 0; k < head.size(); ++k) {
        const std::string& t = head[k];
        if (t == "<" || t == "(")
            ++depth;
        else if (t == ">" || t == ")")
            --depth;
        else if (depth == 0 && isClassKey(t))
            key = k;
    }
    if (key == npos || (key > 0 && head[key - 1] == "enum"))
        return Other;

    // Its name, before a base clause; attributes are passed over, and a '('
    // or '=' makes it a declaration of something else ("struct S f() {").
    Tokens tail;
    for (size_t k = key + 1; k < head.size(); ++k) {
        const std::string& t = head[k];
        if (t == "[") {
            k = closing(head, k);
        } else if (t == "(" && !tail.empty() &&
                   (tail.back() == "alignas" || tail.back() == "__attribute__" || tail.back() == "__declspec")) {
            tail.pop_back();
            k = closing(head, k);
        } else if (t == "(" || t == "=") {
            return Other;
        } else if ((t == ":" || t == "final") && !tail.empty()) {
            break;
        } else if (t == "<") {
            size_t close = closing(head, k);
            for (; k <= close && k < head.size(); ++k)
                tail.push_back(head[k]);
            --k;
        } else {
            tail.push_back(t);
        }
    }
    size_t start = nameStart(tail, tail.size());
    if (start != npos)
        name = joined(tail, start, tail.size());
    // Inside a class template the class is written with its parameters.
    if (!name.empty() && name.find('<') == std::string::npos) {
        for (size_t k = key; k-- > 0;)
            if (head[k] == "template" && k + 1 < key && head[k + 1] == "<") {
                size_t close = closing(head, k + 1);
                std::string params = close < key ? parameterNames(head, k + 1, close) : "";
                if (!params.empty())
                    name += "<" + params + ">";
                break;
            }
    }
    return Class;
}

// The class that qualifies the declarator in `decl` ("Point::operator=",
// "Many::Many(...) : z(1)"); "" when it is not qualified.
std::string qualifierOf(const Tokens& decl)
{
    size_t name = npos;
    int depth = 0;
    for (size_t k = 0; k < decl.size() && name == npos; ++k) {
        if (depth == 0 && decl[k] == "operator")
            name = k;
        else if (decl[k] == "(" && depth++ == 0 && k > 0) {
            name = k - 1;
            if (decl[name] == ">")
                name = openingAngle(decl, name) == npos ? npos : openingAngle(decl, name) - 1;
            if (name != npos && name > 0 && decl[name - 1] == "~")
                --name;
        } else if (decl[k] == ")") {
            --depth;
        }
    }
    if (name == npos || name < 2 || decl[name - 1] != "::")
        return "";
    size_t start = nameStart(decl, name - 1);
    return start == npos ? "" : joined(decl, start, name - 1);
}

// A '{' that starts a lambda body or a braced initializer rather than a
// scope of declarations: inside parentheses, or right after a name in a
// constructor's initializer list.
bool isExpressionBrace(const Tokens& head)
{
    int depth = 0;
    bool initializers = false;
    for (size_t k = 0; k < head.size(); ++k) {
        if (head[k] == "(")
            ++depth;
        else if (head[k] == ")")
            --depth;
        else if (depth == 0 && head[k] == ":" && k > 0 && head[k - 1] == ")")
            initializers = true;
    }
    return depth > 0 || (initializers && (isWord(head.back()) || head.back() == ">"));
}

}  // namespace

std::string classAt(const std::string& source, int line, int column)
{
    size_t end = offsetOf(source, line, column);
    if (end == npos)
        return "";
    Lexer lexer(source, end);
    std::vector<Scope> scopes;
    Tokens head;
    for (std::string t = lexer.next(); !t.empty(); t = lexer.next()) {
        if (t == "{") {
            Scope s;
            s.expression = !head.empty() && isExpressionBrace(head);
            s.kind = s.expression ? Other : kindOf(head, s.name);
            s.head = head;
            scopes.push_back(s);
            head.clear();
        } else if (t == "}") {
            // After a lambda or an initializer the declaration goes on.
            head = !scopes.empty() && scopes.back().expression ? scopes.back().head : Tokens();
            if (!head.empty())
                head.push_back("{}");
            if (!scopes.empty())
                scopes.pop_back();
        } else if (t == ";") {
            head.clear();
        } else {
            head.push_back(t);
        }
    }

    // The declarator that counts: the head of the function body right inside
    // the innermost class or namespace, else the declaration being written,
    // read on to its end ("Foo::Foo()" when the place is its first column).
    size_t innermostClass = npos;
    for (size_t k = 0; k < scopes.size(); ++k)
        if (scopes[k].kind == Class)
            innermostClass = k;
    size_t body = scopes.size();
    for (size_t k = innermostClass == npos ? 0 : innermostClass + 1; k < scopes.size(); ++k)
        if (scopes[k].kind == Other) {
            body = k;
            break;
        }
    std::string opened;  // the class whose head the place is in
    if (body == scopes.size()) {
        lexer.readToEnd();
        std::string t = lexer.next();
        for (; !t.empty() && t != "{" && t != ";" && t != "}"; t = lexer.next())
            head.push_back(t);
        if (t == "{" && !isExpressionBrace(head) && kindOf(head, opened) != Class)
            opened.clear();
    }
    const Tokens& decl = body < scopes.size() ? scopes[body].head : head;

    // Namespaces and classes around it (a local class starts afresh).
    size_t from = 0;
    for (size_t k = 0; k < body; ++k)
        if (scopes[k].kind == Other)
            from = k + 1;
    std::string outer;
    for (size_t k = from; k < body; ++k)
        if (!scopes[k].name.empty())
            outer += (outer.empty() ? "" : "::") + scopes[k].name;
    bool inClass = body > from && scopes[body - 1].kind == Class;

    if (!opened.empty())
        return outer.empty() ? opened : outer + "::" + opened;
    std::string qualifier = qualifierOf(decl);
    if (!qualifier.empty())
        return outer.empty() ? qualifier : outer + "::" + qualifier;
    return inClass ? outer : "";
}

}  // namespace effcxx
