// The value of a suppress line ("item 12 type pv class Foo* file src/*.cc"),
// whatever its bytes. A value that parses is written as the entry's
// canonical line; that line, read by the option reader as a file's line,
// must give one suppress or unsuppress option whose value parses back to
// the same entry, which writes the same line again. A difference aborts, so
// that libFuzzer keeps the value that shows it.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "fuzz/FuzzScratch.h"
#include "options/options.h"

namespace {

struct Option {
    std::string tool, option, value;
};
std::vector<Option> heard;

void collect(char* tool, char* option, char* value)
{
    // The call that opens a file carries three empty strings.
    if (*tool || *option || *value)
        heard.push_back({tool, option, value});
}

// A pattern the canonical line writes as "*": no class.
std::string classOf(const Suppression& s) { return s._classname ? s._classname : "*"; }
std::string fileOf(const Suppression& s) { return s._filename ? s._filename : "(any)"; }

[[noreturn]] void fail(const char* what, const std::string& value, const std::string& line)
{
    fuzzFail(std::string(" *** SuppressionValueFuzzer: ") + what + "\n     value: \"" + value + "\"\n     line:  \"" +
             line + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::instance();
    // An option's value never holds a NUL: the reader passes over such lines.
    const std::string value(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    for (int type = 0; type <= 1; ++type) {
        Suppression s;
        s._type = type;
        if (s.parse(value.c_str()) != 0)
            continue;
        const std::string line = s.canonicalLine();
        if (line.empty())
            fail("a value that parses writes no line", value, line);

        heard.clear();
        {
            ZxOptionRead scope;
            tvopt::_Torvane_read_option_text("canonical", line.data(), line.size(), collect);
        }
        if (heard.size() != 1)
            fail("the canonical line is not one option", value, line);
        const Option& o = heard[0];
        if (!tvopt::strieq(o.tool.c_str(), "zentrix") || o.option != (type ? "suppress" : "unsuppress"))
            fail("the canonical line is another tool's or another option", value, line);

        Suppression t;
        t._type = type;
        if (t.parse(o.value.c_str()) != 0)
            fail("the canonical line's value does not parse", value, line);
        if (t._tag != s._tag || t._severity != s._severity || classOf(t) != classOf(s) || fileOf(t) != fileOf(s))
            fail("the canonical line reads back as another entry", value, line);
        if (t.canonicalLine() != line)
            fail("the entry read back writes another line", value, line);
    }
    return 0;
}
