#pragma once

#include <string>

// Which class a place in a C++ source belongs to, for the compiler
// diagnostics whose text names no class: g++ quotes only 'operator=' when
// an assignment operator returns void, and clang's reorder warnings quote
// field names. The source is read with a small scanner (comments, literals
// and preprocessor lines skipped, braces matched), not compiled.
namespace effcxx {

// The class whose member is declared or defined at `line` and `column`
// (both counted from 1; the column as g++ counts it, a tab reaching the next
// multiple of 8) of the source text: the class whose head is there, the
// qualifier of the definition there ("Point::operator=" -> Point), else the
// class body it stands in, with
// enclosing namespaces and classes as the compiler writes them
// ("geo::Outer::Inner", "Holder<T>" inside a class template). "" when the
// place is in no class or lies beyond the text.
std::string classAt(const std::string& source, int line, int column);

}  // namespace effcxx
