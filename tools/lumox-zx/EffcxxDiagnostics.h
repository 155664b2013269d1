#pragma once

#include <functional>
#include <string>
#include <vector>

// The compiler's Effective C++ diagnostics as violations: the output of
// GCC's -Weffc++ (with the related -Wnon-virtual-dtor,
// -Wdelete-non-virtual-dtor and -Wreorder) or of clang's equivalents is cut
// into diagnostics with their continuation, note and source-excerpt lines,
// and each Effective C++ diagnostic is given its rule item, a severity and
// the class it concerns. Lines that belong to no diagnostic keep their place.
namespace effcxx {

// A rule of the two books whose items the compiler checks.
struct Rule {
    int item;            // item number; the category sent is "EffC++" and it
    const char* ruleSet; // "Effective C++" or "More Effective C++"
    const char* title;
};

// One diagnostic of the compiler's output, or a run of lines that belong to
// none (`kind` empty: "compilation terminated.", "2 warnings generated.",
// "g++: error: ...").
struct Diagnostic {
    std::string kind;    // "warning", "error", "fatal error", "note"; "" for other lines
    std::string file;    // as the compiler names it
    int line = 0;
    int column = 0;
    std::string message; // the first line's text after "warning: "
    std::string option;  // the option in brackets at its end, e.g. "effc++" for [-Weffc++]
    std::string context; // the lines that say where it stands ("file: In member function ...:")
    int contextBlock = 0;  // which printing of those lines, counted from 1; 0 for none
    std::string text;    // every line of it, as printed, newline-terminated
    bool mapped = false; // an Effective C++ diagnostic (the fields below are set)
    Rule rule = {0, "", ""};
    int severity = 0;    // 1 informational ... 5 severe violation
    std::string className;
};

// Reads a source file the compiler names; "" when it cannot be read.
typedef std::function<std::string(const std::string& file)> SourceReader;

// Cuts the compiler's standard error text into diagnostics and other lines,
// in order. The lines that say where the next diagnostics stand ("file: In
// function ...:", "In file included from ...", g++'s "required from here")
// go to the `context` of every diagnostic under them, until the compiler
// names another place.
std::vector<Diagnostic> parse(const std::string& output);

// Gives a diagnostic its rule, severity and class when it is one of the
// Effective C++ diagnostics; false (and nothing set) otherwise. The rule
// comes from the option in brackets and the message's fixed text (the
// quoted names left out), the class from the name the message quotes; when
// the message quotes no class (g++'s "'operator=' should return ...",
// clang's reorder warnings) from the source at the diagnostic's line, read
// through `source` when given.
bool classify(Diagnostic& d, const SourceReader& source = SourceReader());

// The compiler's output without the mapped diagnostics: every other line in
// the order the compiler printed it, each context block once, right before
// the first line printed under it.
std::string unmapped(const std::vector<Diagnostic>& all);

// The class a quoted name of a member or function denotes: "Foo::_bar" ->
// Foo, "Foo& Foo::operator+(const Foo&)" -> Foo, "class Foo" -> Foo, a bare
// type name -> itself; "" for free functions and operators.
std::string classOf(const std::string& quoted);

}  // namespace effcxx
