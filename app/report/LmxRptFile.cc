#include "app/report/LmxRptFile.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionSink.h"
#include "app/sessions/NetClient.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrMsg.h"
#include "qip/Monitors/qipBigEndian.h"

int LmxRptFile::open(const char* name, Mode mode, int)
{
    _rptHeader = LmxRptHeader();
    return qipVLRecFile::open(name, mode, LmxRptHeader::Size);
}

// The report header alone says whether this is a report file this program
// reads: the record file's own magic number and version are those of
// whatever wrote the container, and the walk checks the container itself.
int LmxRptFile::readHeader()
{
    if (!_fp)
        return fileShutDown;
    unsigned char buf[LmxRptHeader::Size];
    memset(buf, 0, sizeof buf);
    size_t got = fread(buf, 1, sizeof buf, _fp);
    if (got != sizeof buf && ferror(_fp))
        return failed(freadFailed);
    // A file that is no report file at all is told apart from a short one.
    if (got >= 4 && qipGetBE32(buf) != LmxRptHeader::Magic)
        return badMagicNumber;
    if (got != sizeof buf)
        return corruptFile;
    _rptHeader.unpack(buf);
    if (_rptHeader._rptMajor != LmxRptHeader::RptMajor)
        return badVersionNumber;
    return noError;
}

const char* LmxRptFile::reason(int code) const
{
    switch (code) {
    case badMagicNumber: return "not a report file";
    case badVersionNumber: return "a report format this version does not read";
    case corruptFile: return "the file is damaged";
    default: return qipVLRecFile::reason(code);
    }
}

int LmxRptFile::writeHeader()
{
    if (!_fp)
        return fileShutDown;
    unsigned char buf[LmxRptHeader::Size];
    _rptHeader.pack(buf);
    return fwrite(buf, 1, sizeof buf, _fp) == sizeof buf ? noError : failed(fwriteFailed);
}

int LmxRptFile::load() { return qipVLRecFile::load(); }

void LmxRptFile::dump(std::ostream& os) { os << _header << _rptHeader; }

int LmxRptFile::save(ListIterator<NetClient*>& clients)
{
    for (NetClient* c = clients.current(); c; c = clients.next()) {
        int r = c->saveTo(*this);
        if (r != noError)
            return r;
    }
    return noError;
}

// Whether a saved sign-on header is a static-analysis client's, by its type
// as the first bracket parses, which is what a save writes back: judged on
// the raw text, a damaged header ("xZentrix...") loads as one kind of
// client and is saved as the other. A save asks it of the text it writes,
// a load of the text it reads, so the two always agree.
static bool typeSaysStaticAnalysis(const char* signOnHeader)
{
    std::string copy = signOnHeader;
    ConxnMsg signOn;
    signOn.extract(&copy[0]);
    return strncmp(signOn._type.text(), "Zentrix", 7) == 0;
}

static unsigned char* putText(unsigned char* p, const char* text, uint32_t size)
{
    qipPutBE32(p, size);
    memcpy(p + 4, text, size);
    return p + 4 + size;
}

int LmxRptFile::save(NetClient* client)
{
    if (!client || !client->_signature)
        return badParameter;
    char* signOn = client->_signature->inject();
    if (!signOn)
        return outOfMemory;
    const int n = client->_messages.length();
    msgRec* recs = new (std::nothrow) msgRec[n > 0 ? n : 1];
    if (!recs) {
        free(signOn);
        return outOfMemory;
    }
    const uint32_t signOnSz = static_cast<uint32_t>(strlen(signOn) + 1);
    uint64_t total = 4 + uint64_t(signOnSz) + 4;
    int filled = 0;
    int result = noError;
    for (ListIterator<ErrorMsg*> i(client->_messages); i.valid(); i.next(), ++filled) {
        ErrorMsg* m = i.current();
        msgRec& r = recs[filled];
        r._header = m->inject();
        if (!r._header) {
            result = outOfMemory;
            break;
        }
        r._headerSize = static_cast<unsigned>(strlen(r._header) + 1);
        r._body = m->_body.text();
        r._bodySize = static_cast<unsigned>(strlen(r._body) + 1);
        total += 8 + uint64_t(r._headerSize) + r._bodySize;
    }
    // The record's size and every offset are 32-bit in the file.
    if (result == noError && total > 0xffffffffu - qipVLHeader::Size - qipVLRecord::Size)
        result = badParameter;
    unsigned char* buf = nullptr;
    if (result == noError) {
        buf = static_cast<unsigned char*>(malloc(total));
        if (!buf)
            result = outOfMemory;
    }
    if (result == noError) {
        unsigned char* p = putText(buf, signOn, signOnSz);
        qipPutBE32(p, static_cast<uint32_t>(n));
        p += 4;
        for (int k = 0; k < n; ++k) {
            p = putText(p, recs[k]._header, recs[k]._headerSize);
            p = putText(p, recs[k]._body, recs[k]._bodySize);
        }
        assert(p == buf + total);
        const unsigned tag = typeSaysStaticAnalysis(signOn) ? RuntimeTag : ClientTag;
        result = newRecord(tag, reinterpret_cast<char*>(buf), static_cast<unsigned>(total));
    }
    free(buf);
    for (int k = 0; k < filled; ++k)
        free(recs[k]._header);
    delete[] recs;
    free(signOn);
    return result;
}

int LmxRptFile::readCount(uint32_t& n)
{
    unsigned char b[4];
    int r = readData(b, sizeof b);
    n = r == noError ? qipGetBE32(b) : 0;
    return r;
}

int LmxRptFile::readText(char*& text, uint32_t& length)
{
    text = nullptr;
    int r = readCount(length);
    if (r != noError)
        return r;
    // A length beyond the record is damage, not a reason to allocate.
    if (length > recordLeft())
        return corruptFile;
    text = static_cast<char*>(malloc(length + 1));
    if (!text)
        return outOfMemory;
    r = readData(text, length);
    if (r != noError) {
        free(text);
        text = nullptr;
        return r;
    }
    text[length] = '\0';
    return noError;
}

int LmxRptFile::processRecord(unsigned tag, unsigned, unsigned)
{
    if (tag != ClientTag && tag != RuntimeTag && tag != StaticAnalysisTag) {
        std::cerr << " *** LmxRptFile::processRecord: unknown tag" << std::endl;
        return noError;
    }
    char* header = nullptr;
    uint32_t length = 0;
    int r = readText(header, length);
    if (r != noError)
        return r;
    const bool staticAnalysis = tag == ClientTag ? typeSaysStaticAnalysis(header) : tag == StaticAnalysisTag;
    r = staticAnalysis ? sessionCW(header) : session(header);
    free(header);
    return r;
}

// The messages of a saved runtime client and of a static-analysis client.
static ErrorMsg* makeRuntimeMessage(long token, char* header, char* body, uint32_t bodySize)
{
    ErrorMsg* m = new (std::nothrow) ErrorMsg(token);
    if (m) {
        m->extract(header);
        m->body(body, static_cast<int>(bodySize));
    }
    return m;
}

static ErrorMsg* makeViolation(long token, char* header, char* body, uint32_t)
{
    ZxErrMsg* m = new (std::nothrow) ZxErrMsg(token);
    if (m) {
        m->extract(header);
        m->setBody(body);
    }
    return m;
}

// A saved client signs on again under a fresh number, as if it had just
// connected; null when memory runs out.
template <class Client>
static Client* signOnAgain(char* signOnHeader, long& token)
{
    SessionSink* sink = SessionSink::current();
    assert(sink != 0);
    token = sink->nextClientNumber();
    ConxnMsg* signOn = new (std::nothrow) ConxnMsg(token);
    if (!signOn)
        return nullptr;
    signOn->extract(signOnHeader);
    Client* client = new (std::nothrow) Client(signOn);
    if (!client) {
        delete signOn;
        return nullptr;
    }
    // A loaded session's pid and command are only what the file says.
    client->_origin = NetClient::FromReport;
    sink->clientSignOn(client);
    return client;
}

int LmxRptFile::session(char* signOnHeader)
{
    long token = 0;
    if (!signOnAgain<LmxClient>(signOnHeader, token))
        return outOfMemory;
    return replayMessages(token, makeRuntimeMessage);
}

int LmxRptFile::replayMessages(long token, ErrorMsg* (*make)(long, char*, char*, uint32_t))
{
    uint32_t n = 0;
    int r = readCount(n);
    for (uint32_t k = 0; r == noError && k < n; ++k) {
        char* header = nullptr;
        char* body = nullptr;
        uint32_t headerSz = 0, bodySz = 0;
        r = readText(header, headerSz);
        if (r == noError)
            r = readText(body, bodySz);
        ErrorMsg* m = r == noError ? make(token, header, body, bodySz) : nullptr;
        if (r == noError && !m)
            r = outOfMemory;
        free(header);
        free(body);
        if (m)
            SessionSink::current()->newMessage(token, m);
    }
    SessionSink::current()->clientSignOff(token);
    return r;
}

// The record of a static-analysis client, after its sign-on length and
// header: the analysed command as three blocks (argument count, byte size,
// packed strings; environment count, byte size, packed strings; working
// directory length with its NUL, 0 for none, and the text), then the
// message count and per violation its header (ZxErrMsg::inject()) and the
// body as the analyser sent it, each with its length including the NUL.
int LmxRptFile::save(ZxClient* client)
{
    if (!client || !client->_signature)
        return badParameter;
    char* signOn = client->_signature->inject();
    if (!signOn)
        return outOfMemory;
    std::string record;
    auto putCount = [&record](uint32_t v) {
        unsigned char b[4];
        qipPutBE32(b, v);
        record.append(reinterpret_cast<char*>(b), 4);
    };
    auto putBytes = [&](const char* data, uint32_t size) {
        putCount(size);
        if (size)
            record.append(data, size);
    };
    putBytes(signOn, static_cast<uint32_t>(strlen(signOn) + 1));
    const unsigned tag = typeSaysStaticAnalysis(signOn) ? ClientTag : StaticAnalysisTag;
    free(signOn);

    const qipExec& e = client->_executor;
    putCount(static_cast<uint32_t>(e.argc()));
    putBytes(e.cmdlineData(), static_cast<uint32_t>(e.cmdlineData() ? e.cmdlineDataSize() : 0));
    putCount(static_cast<uint32_t>(e.environCount()));
    putBytes(e.environData(), static_cast<uint32_t>(e.environData() ? e.environDataSize() : 0));
    const char* cwd = e.workingDirectory();
    putBytes(cwd, cwd ? static_cast<uint32_t>(strlen(cwd) + 1) : 0);

    putCount(static_cast<uint32_t>(client->_messages.length()));
    for (ListIterator<ErrorMsg*> i(client->_messages); i.valid(); i.next()) {
        ErrorMsg* m = i.current();
        char* header = m->inject();
        if (!header)
            return outOfMemory;
        putBytes(header, static_cast<uint32_t>(strlen(header) + 1));
        free(header);
        const char* body = m->originalBody();
        putBytes(body, static_cast<uint32_t>(strlen(body) + 1));
    }
    if (record.size() > 0xffffffffu - qipVLHeader::Size - qipVLRecord::Size)
        return badParameter;
    return newRecord(tag, &record[0], static_cast<unsigned>(record.size()));
}

int LmxRptFile::sessionCW(char* signOnHeader)
{
    long token = 0;
    ZxClient* client = signOnAgain<ZxClient>(signOnHeader, token);
    if (!client)
        return outOfMemory;

    // The analysed command: read whole before any of it is handed over.
    uint32_t argc = 0, envc = 0, size = 0, cwdSize = 0;
    char *args = nullptr, *env = nullptr, *cwd = nullptr;
    int r = readCount(argc);
    if (r == noError)
        r = readText(args, size);
    if (r == noError && size > 0)
        client->setCmdline(static_cast<int>(argc), args, args + size);
    if (r == noError)
        r = readCount(envc);
    if (r == noError)
        r = readText(env, size);
    if (r == noError && size > 0)
        client->setEnviron(static_cast<int>(envc), env, env + size);
    if (r == noError)
        r = readText(cwd, cwdSize);
    if (r == noError && cwdSize > 0)
        client->setCwd(cwd);
    free(args);
    free(env);
    free(cwd);

    if (r != noError) {
        SessionSink::current()->clientSignOff(token);
        return r;
    }
    return replayMessages(token, makeViolation);
}
