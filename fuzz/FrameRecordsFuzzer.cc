// One network frame, whatever its bytes, read as each record a client can
// send: a sign-on record, a runtime error record and a static-analysis
// record. The frame travels as a connection's does, a length word and the
// bytes through a descriptor into qipSafeAIFS, and the records come out of
// the same extractors the connections use. Besides the sanitizers' faults
// it checks that the stream hands over the whole frame, that no extractor
// moves the cursor past it, and that the header each record writes (what a
// report file stores) reads back as the same header.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/records/ZxErrHdr.h"
#include "app/records/ZxErrMsg.h"
#include "fuzz/FuzzScratch.h"
#include "qip/Common/qipExec.h"
#include "qip/Monitors/qipSafeAIFS.h"

namespace {

class FrameReader : public qipSafeAIFS {
public:
    void triggered() override {}
    void error() override {}
};

[[noreturn]] void fail(const char* what, const std::string& first = "", const std::string& second = "")
{
    std::string text = std::string(" *** FrameRecordsFuzzer: ") + what;
    if (!first.empty() || !second.empty())
        text += "\n     first:  \"" + first + "\"\n     second: \"" + second + "\"";
    fuzzFail(text);
}

std::string taken(char* text)
{
    std::string s = text ? text : "(null)";
    free(text);
    return s;
}

// The next frame of the stream, as a connection takes it: a frame that
// cannot be read leaves the record empty.
void nextFrame(FrameReader& in, size_t size)
{
    int r = in.read();
    if (r != static_cast<int>(size))
        fail("the stream did not hand over the frame whole");
    if (r <= 0)
        in.buffer()->filled(0);
}

void checkCursor(const FrameReader& in)
{
    const qipRBuffer* b = in.buffer();
    if (b->offset() < 0 || b->offset() > b->eob() || b->eob() > b->size())
        fail("an extractor left the cursor outside the frame");
}

// A record's header, written and read into a fresh record, must write the
// same header again.
template <class Record>
void checkHeaderReadsBack(Record& m)
{
    m.id();
    std::string first = taken(m.inject());
    Record again(m._token);
    std::string copy = first;
    again.extract(&copy[0]);
    again.id();
    std::string second = taken(again.inject());
    if (first != second)
        fail("a record's header does not read back as itself", first, second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > qipSafeAIFS::MaxFrame)
        return 0;
    // Three copies of the frame, one for each kind of record. A memory file
    // holds any size at once, where a socket would block the writer.
    const int32_t length = static_cast<int32_t>(size);
    std::string stream;
    for (int k = 0; k < 3; ++k) {
        stream.append(reinterpret_cast<const char*>(&length), sizeof length);
        stream.append(reinterpret_cast<const char*>(data), size);
    }
    int fd = memfd_create("frame", 0);
    if (fd < 0 || write(fd, stream.data(), stream.size()) != static_cast<ssize_t>(stream.size()) ||
        lseek(fd, 0, SEEK_SET) != 0)
        fail("cannot make the memory file");

    FrameReader in;
    in.watch(fd);

    nextFrame(in, size);
    ConxnMsg signOn(0);
    in >> signOn;
    checkCursor(in);
    checkHeaderReadsBack(signOn);

    nextFrame(in, size);
    ErrorMsg error(7);
    in >> error;
    checkCursor(in);
    checkHeaderReadsBack(error);

    nextFrame(in, size);
    ZxErrHdr record(7);
    if (record.read(in) == 0) {
        checkCursor(in);
        if (record.bodySize() < 0 || static_cast<size_t>(record.bodySize()) > size ||
            record.body()[record.bodySize()] != '\0')
            fail("a static-analysis body is not the frame's bytes with a NUL after them");
        // What a static-analysis connection does with the record.
        qipExec command;
        switch (record.kind()) {
        case ZxErrHdr::CommandLine:
            command.cmdline(record.count(), record.body(), record.bodySize());
            break;
        case ZxErrHdr::Environment:
            command.environment(record.count(), record.body(), record.bodySize());
            break;
        case ZxErrHdr::Cwd:
            command.cwd(record.body());
            break;
        default:
            if (ZxErrMsg* m = record.message()) {
                checkHeaderReadsBack(*m);
                delete m;
            }
            break;
        }
        if (command.argv())
            for (int k = 0; k < command.argc(); ++k)
                if (!command.argv()[k] || command.argv()[k] < command.cmdlineData() ||
                    command.argv()[k] >= command.cmdlineData() + command.cmdlineDataSize())
                    fail("an argument lies outside the command line's bytes");
    }
    close(fd);
    return 0;
}
