// An option file, whatever its bytes, loaded as a suppression set and saved,
// then loaded and saved again. The save cuts out the entries it understood
// by the option-line rules (options/OptionLines.h) and writes them back as
// one block, so the first save is the file in its settled form: the second
// load must find the same entries, and the second save must write the same
// bytes. A difference aborts, so that libFuzzer keeps the file that shows it.

#include <cstdint>
#include <string>

#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "fuzz/FuzzScratch.h"

namespace {

// The entries the file keeps, as save() writes them.
std::string entries(const SuprFile& f)
{
    std::string out;
    for (ListIterator<Suppression*> i(f._suppressions); i.valid(); i.next())
        if (i.current()->_transient == 0)
            out += i.current()->canonicalLine();
    return out;
}

// Loads the file and saves it; the entries it loaded, and the bytes saved.
void loadAndSave(const std::string& path, std::string& loaded, std::string& saved)
{
    SuprFile f(path.c_str());
    f.loadSuppressions();
    loaded = entries(f);
    if (f.save() != 0)
        fuzzFail(" *** OptionFileFuzzer: cannot save " + path);
    saved = fuzzReadFile(path);
}

[[noreturn]] void fail(const char* what, const std::string& first, const std::string& second)
{
    fuzzFail(std::string(" *** OptionFileFuzzer: ") + what + "\n--- first:\n" + first + "--- second:\n" + second +
             "---");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = FuzzScratch::instance().path(".qnrc");
    if (fuzzWriteFile(path, data, size) != 0)
        fuzzFail(" *** OptionFileFuzzer: cannot write " + path);
    std::string firstEntries, firstSave, secondEntries, secondSave;
    loadAndSave(path, firstEntries, firstSave);
    loadAndSave(path, secondEntries, secondSave);
    if (firstEntries != secondEntries)
        fail("the saved file loads other entries", firstEntries, secondEntries);
    if (firstSave != secondSave)
        fail("the second save writes other bytes", firstSave, secondSave);
    return 0;
}
