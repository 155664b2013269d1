#pragma once

#include "app/records/Field.h"
#include "app/records/NetMsg.h"

class qipAIFStream;

// The sign-on record of a client: what kind of client it is, which program it
// runs, on which host and with which process id. Its id line heads the
// client's messages. The client session owns it.
class ConxnMsg : public NetMsg {
public:
    explicit ConxnMsg(long token = 0);

    // The sign-on line (the cached text, else built by constructId()).
    const char* id() override;
    int activate() override { return 0; }
    // Parses the six brackets; a message without a token takes the pid as token.
    int extract(char* header) override;
    char* inject() override;
    void selected(int) override {}
    int decoration() override { return 0; }

    // Builds the sign-on line from the type, stores it and returns it.
    const char* constructId();
    int status() const { return _status; }
    void status(int s) { _status = s; }

    int _status;
    Field _type;
    Field _pid;
    Field _filename;
    Field _uid;
    Field _host;
    Field _time;
};

// Reads the sign-on record (header length, header) from the current frame of
// `in`; an empty or short frame leaves the fields empty.
qipAIFStream& operator>>(qipAIFStream& in, ConxnMsg& m);
