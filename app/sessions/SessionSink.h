#pragma once

class ErrorMsg;
class NetClient;

// What shows the sessions: the network intake and the report file hand it
// each client that signs on, each message and each sign-off. The main
// window's message area is the one sink of the program; lumox-rpt has its
// own that prints as it reads. The sessions know only this interface.
class SessionSink {
public:
    virtual ~SessionSink() {}

    // A client signed on; the sink owns it from now on.
    virtual void clientSignOn(NetClient* c) = 0;
    // A message of client `id`; the sink owns it from now on (it deletes a
    // message of no known client).
    virtual void newMessage(long id, ErrorMsg* m) = 0;
    virtual void clientSignOff(long id) = 0;
    // A client's shown messages changed by `n` without a message arriving.
    virtual void clientSizeAdjust(int n) = 0;
    // Suppressions changed: what is shown must be looked at again.
    virtual void suppressionsChanged() = 0;
    // A fresh client number, for a session loaded from a report file.
    virtual long nextClientNumber() = 0;

    // The registered sink, or null; install(null) unregisters.
    static SessionSink* current() { return _current; }
    static void install(SessionSink* sink) { _current = sink; }

private:
    static SessionSink* _current;
};
