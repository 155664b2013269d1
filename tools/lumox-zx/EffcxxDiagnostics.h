#pragma once

#include <string>
#include <vector>

// The compiler's Effective C++ diagnostics as violations: GCC's -Weffc++
// output (and the related -Wnon-virtual-dtor, -Wdelete-non-virtual-dtor and
// -Wreorder warnings) is cut into diagnostics with their continuation,
// note and source-excerpt lines, and each diagnostic is given its rule item,
// a severity and the class it concerns.
namespace effcxx {

// A rule of the two books whose items the compiler checks.
struct Rule {
    int item;            // item number; the category sent is "EffC++" and it
    const char* ruleSet; // "Effective C++" or "More Effective C++"
    const char* title;
};

// One diagnostic of the compiler's output.
struct Diagnostic {
    std::string file;    // as the compiler names it
    int line = 0;
    std::string message; // the first line's text after "warning: "
    std::string option;  // the option in brackets at its end, e.g. "-Weffc++"
    std::string context; // the "file: In member function ...:" lines before it
    std::string text;    // every line of it, as printed, newline-terminated
    bool mapped = false; // an Effective C++ diagnostic (the fields below are set)
    Rule rule = {0, "", ""};
    int severity = 0;    // 1 informational ... 5 severe violation
    std::string className;
};

// Cuts the compiler's standard error text into diagnostics, in order. The
// lines that say where the next diagnostics stand ("file: In function
// ...:", "In file included from ...") go to the next diagnostic's
// `context`; lines that belong to none are kept in `other`.
std::vector<Diagnostic> parse(const std::string& output, std::string* other = nullptr);

// Gives a diagnostic its rule, severity and class when it is one of the
// Effective C++ diagnostics; false (and nothing set) otherwise.
bool classify(Diagnostic& d);

// The class a quoted name of the compiler denotes: "class Foo" -> Foo,
// "Foo::_bar" -> Foo, "Foo& Foo::operator+(const Foo&)" -> Foo, a bare type
// name -> itself; "" for free functions and operators.
std::string classOf(const std::string& quoted);

}  // namespace effcxx
