#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

using lumox_test::readFile;
using lumox_test::writeFile;

// Option files made of pieces whose fate is known (kept byte for byte, or an
// entry the save owns), in LF and in CR LF, and the seed files of the option
// file fuzzer: load, save, load, save gives the same entries and the same
// bytes, and the first save is exactly the kept pieces followed by the
// entries.
namespace {

struct Piece {
    std::string bytes;
    std::string entry;  // the canonical line of an entry; empty for a kept piece
};

// One piece of a file whose lines end in `eol`.
Piece piece(std::mt19937& rng, const std::string& eol)
{
    const std::string n = std::to_string(rng() % 1000);
    switch (rng() % 16) {
    case 0:
        return {"# comment " + n + eol, ""};
    case 1:
        return {eol, ""};
    case 2:
        return {"torvane.leaks  yes" + eol, ""};
    case 3:
        return {"Zentrix.check_all on" + eol, ""};
    case 4:
        return {"Zentrix.Suppress type nonsense" + eol, ""};
    case 5:
        return {std::string("Zentrix.Suppress item 4 \\\0x", 27) + eol + "    class A" + eol, ""};
    case 6:
        return {"torvane.long " + std::string(2000 + rng() % 3000, 'L') + eol, ""};
    case 7:
        return {"123 not an option \\" + eol, ""};
    case 8:
        return {"Zentrix.Suppress item 2 \\" + eol + "# not a comment here" + eol, ""};
    case 9:
        return {"Zentrix.Suppress item " + n + eol, "  Zentrix.Suppress item " + n + " class *\n"};
    case 10:
        return {"zentrix.un_suppress item " + n + " \\" + eol + "    type V" + eol,
                "  Zentrix.Unsuppress item " + n + " type V class *\n"};
    case 11:
        return {"  ! Zentrix.Suppress type sv" + eol, "  Zentrix.Suppress type SV class *\n"};
    case 12:
        return {"suppress class Foo*" + eol, "  Zentrix.Suppress class Foo*\n"};
    case 13: {
        std::string cls(2000 + rng() % 3000, 'C');
        return {"Zentrix.Suppress class " + cls + " file */x.cc" + eol,
                "  Zentrix.Suppress class " + cls + " file */x.cc\n"};
    }
    case 14:
        return {"Zentrix.Suppress\tfile C:\\dir\\ all" + eol, "  Zentrix.Suppress class * file C:\\dir\\ all\n"};
    default:
        return {"  Zentrix.Unsuppress item " + n + " type PV class Pair<int,?int> file */src/*.cc" + eol,
                "  Zentrix.Unsuppress item " + n + " type PV class Pair<int,?int> file */src/*.cc\n"};
    }
}

std::string entries(const SuprFile& f)
{
    std::string out;
    for (ListIterator<Suppression*> i(f._suppressions); i.valid(); i.next())
        out += i.current()->canonicalLine();
    return out;
}

// Where two texts part, shortly (the texts hold lines of thousands of
// bytes); empty when they are equal.
std::string difference(const std::string& a, const std::string& b)
{
    if (a == b)
        return "";
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    size_t from = at > 40 ? at - 40 : 0;
    return "byte " + std::to_string(at) + " of " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
           ": \"" + a.substr(from, 80) + "\" against \"" + b.substr(from, 80) + "\"";
}

// Loads the file and saves it: the entries loaded and the bytes saved. The
// reader's complaints about the pieces that are meant to be bad stay out of
// the test's output.
void loadAndSave(const std::string& path, std::string& loaded, std::string& saved)
{
    SuprFile f(path.c_str());
    testing::internal::CaptureStderr();
    f.loadSuppressions();
    testing::internal::GetCapturedStderr();
    loaded = entries(f);
    EXPECT_EQ(f.save(), 0) << path;
    saved = readFile(path);
}

// Load, save, load, save: the same entries, the same bytes. The first save.
std::string settles(const std::string& path, const std::string& what)
{
    std::string entries1, save1, entries2, save2;
    loadAndSave(path, entries1, save1);
    loadAndSave(path, entries2, save2);
    EXPECT_EQ(difference(entries1, entries2), "") << what;
    EXPECT_EQ(difference(save1, save2), "") << what;
    return save1;
}

std::string crlf(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

}  // namespace

TEST(OptionRoundTrip, generatedFilesSettleAtTheFirstSaveKeepingEveryOtherByte)
{
    ZxScratch s("generated");
    const std::string path = s.project + "/.qnrc";
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        const std::string eol = seed % 2 ? "\r\n" : "\n";
        std::string file, kept, block;
        // A last option that still continues when the file ends, or else a
        // last piece that may lack its line end.
        const bool open = rng() % 4 == 0;
        for (int k = rng() % 12; k > 0; --k) {
            Piece p = piece(rng, eol);
            if (k == 1 && !open && rng() % 3 == 0 && p.bytes.size() >= eol.size())
                p.bytes.resize(p.bytes.size() - eol.size());
            file += p.bytes;
            (p.entry.empty() ? kept : block) += p.entry.empty() ? p.bytes : p.entry;
        }
        if (open) {
            file += "torvane.other keep \\";
            kept += "torvane.other keep \\";
        }
        writeFile(path, file);
        const std::string written = file.find('\n') == std::string::npos ? "\n" : eol;
        std::string expected = kept;
        if (!block.empty()) {
            if (!kept.empty() && kept.back() != '\n')
                expected += written;
            if (open)
                expected += written;
            if (written != "\n")
                block = crlf(block);
            expected += block;
        }
        EXPECT_EQ(difference(settles(path, "seed " + std::to_string(seed)), expected), "") << "seed " << seed;
    }
}

TEST(OptionRoundTrip, theFuzzersSeedFilesSettleInLfAndInCrLf)
{
    ZxScratch s("corpus");
    const std::string dir = std::string(LUMOX_SOURCE_DIR) + "/fuzz/corpus/OptionFileFuzzer";
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr) << dir;
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.')
            names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    ASSERT_FALSE(names.empty());
    const std::string path = s.project + "/.qnrc";
    for (const std::string& name : names) {
        const std::string text = readFile(dir + "/" + name);
        for (bool windows : {false, true}) {
            const std::string variant = windows ? crlf(text) : text;
            writeFile(path, variant);
            std::string saved = settles(path, name);
            // Nothing written ends a line in LF alone where the file used CR LF.
            if (!windows || variant.find('\n') == std::string::npos)
                continue;
            for (size_t nl = saved.find('\n'); nl != std::string::npos; nl = saved.find('\n', nl + 1))
                ASSERT_TRUE(nl > 0 && saved[nl - 1] == '\r') << name << " at byte " << nl;
        }
    }
}
