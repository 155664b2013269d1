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
// and whose records (tag 200) each hold one client session, its sign-on
// header and every message. Saving writes the clients it is given, each in
// the layout of its kind (the client picks it); loading replays each saved
// client through the message area as a fresh, already disconnected client,
// so that the current filter and order apply to it.
class LmxRptFile : public qipVLRecFile, public SessionWriter {
public:
    enum { ClientTag = 200 };

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

    // Saves every client from the iterator's position to the end, each as
    // one record. 0, or the code of the first save that failed (the others
    // are still written).
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
