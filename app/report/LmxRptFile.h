#pragma once

#include <iosfwd>

#include "app/report/LmxRptHeader.h"
#include "app/sessions/SessionWriter.h"
#include "qip/Monitors/qipVLRecFile.h"
#include "qip/Support/List.h"

class NetClient;
class ErrorMsg;
class ZxClient;

// A report file (*.rpt): a record file whose user header is an LmxRptHeader
// and whose records each hold one client session, its sign-on header and
// every message. Saving writes the clients it is given, each in the layout
// of its kind (the client picks it) under a tag that says which layout it
// is; loading replays each saved client through the message area as a
// fresh, already disconnected client, so that the current filter and order
// apply to it.
class LmxRptFile : public qipVLRecFile, public SessionWriter {
public:
    // The record tags. ClientTag is the layout the sign-on type names:
    // static analysis for a type "Zentrix", runtime for any other. Files of
    // earlier versions hold only ClientTag records, and a save still writes
    // it whenever the type names the session's own kind, so that those
    // versions read the file too. A session whose type names the other kind
    // (a runtime connection signing on as "Zentrix", a static analyser's
    // signing on as "Runtime") is saved under the tag of its layout, so that
    // the kind decided at the save is the kind loaded.
    enum { ClientTag = 200, RuntimeTag = 201, StaticAnalysisTag = 202 };

    // One message while a client's record is being built: the injected
    // header (owned) and the body text (the message's own), each with its
    // size including the NUL.
    struct msgRec {
        unsigned _headerSize;
        char* _header;
        unsigned _bodySize;
        const char* _body;
    };

    LmxRptFile() {}
    ~LmxRptFile() override {}

    int readHeader() override;
    int writeHeader() override;
    // Rebuilds the client of one record; unknown tags are skipped.
    int processRecord(unsigned tag, unsigned size, unsigned realSize) override;
    int load() override;
    // Opens a report file; the user header is always 64 bytes.
    int open(const char* name, Mode mode, int userHeaderSz = LmxRptHeader::Size) override;
    void dump(std::ostream& os) override;
    // The reasons of qipVLRecFile, and the report file's own: not a report
    // file, another format version, damage.
    const char* reason(int code) const override;

    // Saves every client from the iterator's position to the end, each as
    // one record. 0, or the code of the first save that failed, after which
    // nothing more is written: close() would not put such a file in place.
    int save(ListIterator<NetClient*>& clients);
    // Saves one runtime client; 0 or a code (-7 when memory runs out).
    int save(NetClient* client) override;
    // Saves one static-analysis client: its sign-on header, the analysed
    // command's line, environment and working directory, then its
    // violations with the bodies the analyser sent. 0 or a code.
    int save(ZxClient* client) override;

    // Rebuild one saved client from the rest of its record: a runtime client,
    // and a static-analysis client. 0 or a code; the client read so far
    // stays in the message area, signed off.
    int session(char* signOnHeader);
    int sessionCW(char* signOnHeader);

    const LmxRptHeader& rptHeader() const { return _rptHeader; }

protected:
    LmxRptHeader _rptHeader;

private:
    // Reads a length field and that many bytes of the current record into a
    // new NUL-terminated buffer (free() it). 0 or a code.
    int readText(char*& text, uint32_t& length);
    int readCount(uint32_t& n);
    // Reads the message count and the messages of client `token` (header and
    // body each), makes each with `make` and hands it to the message area,
    // then signs the client off. 0 or a code.
    int replayMessages(long token, ErrorMsg* (*make)(long token, char* header, char* body, uint32_t bodySize));
};
