#pragma once

#include "app/records/Field.h"

class qipAIFStream;
class ZxErrMsg;

// The header of one record from a static-analysis client, read from one
// frame: the header text, whose first bracket names the record, and the
// body that follows it. "command line", "environment" and "cwd" records
// carry the analysed program's context (the second bracket counts the
// strings packed in the body); every other name is a violation whose header
// holds the fields of a ZxErrMsg. It owns the texts it read.
class ZxErrHdr {
public:
    enum Kind { Violation = 0, CommandLine = 1, Environment = 2, Cwd = 3 };

    explicit ZxErrHdr(long token);
    ~ZxErrHdr();

    // Reads header length, header, body length and body from the current
    // frame; 0, or -1 when the frame holds no header.
    int read(qipAIFStream& in);
    // The same from texts in memory; `body` holds `bodySize` bytes.
    int set(const char* header, const char* body, int bodySize);

    int kind() const;
    // The number of packed strings of a context record.
    int count() const { return _count; }
    const char* name() const { return _name.text(); }
    // The body; it always ends in a NUL beyond `bodySize()` bytes.
    char* body() const { return _body; }
    int bodySize() const { return _bodySz; }
    // A new violation from the header and body (the caller owns it), or null
    // for a context record.
    ZxErrMsg* message() const;

    long _token;
    char* _header;
    char* _body;
    int _bodySz;
    Field _name;
    int _count;

private:
    ZxErrHdr(const ZxErrHdr&) = delete;
    ZxErrHdr& operator=(const ZxErrHdr&) = delete;
    void parseName();
};
