// A report file, whatever its bytes, loaded, saved and loaded again. The
// first load takes what it can of a damaged file; the file the program then
// writes must load whole and give the same sessions: the same kind of
// client, sign-on header and analysed command, and the same messages with
// the same headers, bodies and suppression marks, in the same order. A
// difference aborts, so that libFuzzer keeps the file that shows it.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/NetClient.h"
#include "app/sessions/SessionList.h"
#include "app/sessions/ZxSuppress.h"
#include "fuzz/FuzzScratch.h"
#include "qip/Common/qipExec.h"

namespace {

std::string taken(char* text)
{
    std::string s = text ? text : "(null)";
    free(text);
    return s;
}

std::string bytes(const char* data, int size) { return data && size > 0 ? std::string(data, size) : std::string(); }

// Everything of the loaded sessions that a save must keep, as one text;
// the client numbers, which each load hands out afresh, are left out.
std::string describe(const SessionList& list)
{
    std::string out;
    for (ListIterator<NetClient*> i(list.sessions()); i.valid(); i.next()) {
        NetClient* c = i.current();
        out += std::string("session ") + c->clientTag() + " " + taken(c->_signature->inject()) + "\n";
        if (const qipExec* e = c->analysedCommand()) {
            out += "  argc " + std::to_string(e->argc()) + " [" + bytes(e->cmdlineData(), e->cmdlineDataSize()) + "]\n";
            out += "  envc " + std::to_string(e->environCount()) + " [" +
                   bytes(e->environData(), e->environDataSize()) + "]\n";
            out += std::string("  cwd [") + (e->workingDirectory() ? e->workingDirectory() : "(none)") + "]\n";
        }
        for (ListIterator<ErrorMsg*> m(c->_messages); m.valid(); m.next()) {
            out += "  message " + taken(m.current()->inject()) + (m.current()->_suppressed ? " suppressed" : "") + "\n";
            out += std::string("    sent [") + m.current()->originalBody() + "]\n";
            out += std::string("    shown [") + m.current()->_body.text() + "]\n";
        }
    }
    return out;
}

// Loads `path` into `list`; the load's result.
int load(const std::string& path, SessionList& list)
{
    SessionSink::install(&list);
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::ReadOnly);
    if (r == 0)
        r = f.load();
    SessionSink::install(nullptr);
    return r;
}

int save(const std::string& path, const SessionList& list)
{
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::CreateNew);
    if (r != 0)
        return r;
    ListIterator<NetClient*> i(list.sessions());
    r = f.save(i);
    int c = f.close();
    return r != 0 ? r : c;
}

[[noreturn]] void fail(const char* what, int code, const std::string& first = "", const std::string& second = "")
{
    std::string text = std::string(" *** ReportFileFuzzer: ") + what + " (" + std::to_string(code) + ": " +
                       qipVLRecFile::error(code) + ")";
    if (!first.empty() || !second.empty())
        text += "\n--- first load:\n" + first + "--- second load:\n" + second + "---";
    fuzzFail(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzScratch& scratch = FuzzScratch::instance();
    const std::string input = scratch.path("input.rpt");
    const std::string saved = scratch.path("saved.rpt");
    if (fuzzWriteFile(input, data, size) != 0)
        fail("cannot write the input", 0);
    {
        SessionList first, second;
        load(input, first);
        int r = save(saved, first);
        if (r != 0)
            fail("the loaded sessions cannot be saved", r);
        r = load(saved, second);
        if (r < 0)
            fail("a saved file does not load", r);
        std::string a = describe(first), b = describe(second);
        if (a != b)
            fail("the second load differs from the first", r, a, b);
    }
    // The project sets of the working directories the file named go too, so
    // that memory does not grow from one input to the next.
    ZxSuppress::release();
    return 0;
}
