#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tools/lumox-run/Finding.h"

// What the reader tests share: the captured checker outputs, feeding a
// reader in pieces, and looking at the findings it gave.
namespace finding_probe {

inline std::string data(const std::string& name)
{
    return lumox_test::readFile(std::string(LUMOX_RUN_TEST_DATA) + "/" + name);
}

// Feeds `text` to any of the readers in pieces of `step` bytes.
template <class Reader>
void feed(Reader& reader, const std::string& text, size_t step)
{
    for (size_t i = 0; i < text.size(); i += step)
        reader.feed(text.data() + i, std::min(step, text.size() - i));
}

// "file:line" of the place the message names, or "unknown".
inline std::string where(const Finding& f)
{
    std::string file;
    int line = 0;
    return locate(f, file, line) ? file + ":" + std::to_string(line) : "unknown";
}

inline int stacks(const Finding& f)
{
    int n = 0;
    for (const BodyPart& p : f.body)
        n += p.isStack();
    return n;
}

}  // namespace finding_probe
