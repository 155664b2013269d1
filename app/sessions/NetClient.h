#pragma once

#include <string>

#include "qip/Support/List.h"

class ConxnMsg;
class ErrorMsg;
class NetMsg;
class SessionWriter;
class qipExec;

enum SortBy { sortByTime = 0, sortByErrorCategory = 1, sortByFile = 2 };

// One client session: a program that signed on, or a session loaded from a
// report file, with its sign-on record and its error messages in the order
// the user chose. It owns the sign-on record and every message, suppressed
// ones included. As itself it serves as the message area's trash can (id 0);
// the runtime and static-analysis clients derive from it.
class NetClient {
public:
    explicit NetClient(long id);
    explicit NetClient(ConxnMsg* signOn);
    virtual ~NetClient();

    // The kind of client, as the report file stores it.
    virtual const char* clientTag() const { return "SimpleClient"; }
    // Reorders the messages by time, or by error category (sortByFile sorts by
    // time). 0, or -1 when memory ran out and the order stayed.
    virtual int sort(SortBy by);
    // Adds a message in the current order; the new count, or -1 (null
    // message or unknown order; nothing added).
    virtual int append(ErrorMsg* m);
    virtual void newSelection(NetMsg*) {}
    virtual void checkSuppressions() {}
    virtual void suppress(ErrorMsg*) {}
    // 0 when a rebuild is possible (the client is connected), else -1.
    virtual int rebuildState();
    // Interrupts the client's program (SIGINT to the sign-on's pid), but only
    // a live session's of this host whose pid is this user's process holding
    // the session's socket, or started by the process that holds it: a
    // claimed or loaded pid is never signalled. 0, or -1 when nothing was.
    virtual int kill();
    // Interrupts a connected client's program so that it can be run again.
    virtual void rebuild();
    // Hands this session to the writer's save() for its kind; its result.
    virtual int saveTo(SessionWriter& writer);
    // Marks the shown messages that a filter shared by every client of this
    // kind now hides (after a suppression); how many were hidden. None here.
    virtual int applyFilter() { return 0; }
    // The command the session's program ran under, when the session keeps
    // it (a static analysis does); null here.
    virtual const qipExec* analysedCommand() const { return nullptr; }

    // The connection has gone: the client and its sign-on record are marked so.
    void disconnect();

    int nMessages() const { return _messages.length(); }
    // Messages the header list shows (all but the suppressed ones).
    int nShown() const { return _messages.length() - _nSuppressed; }
    const char* header() const { return _header; }

    // Values of `_status`.
    enum { Disconnected = 0, Connected = 1 };
    // Where a session came from: a client of this user on this host, a
    // client on another host (only when the program listens there), or a
    // report file. Whether its program may be interrupted, and whose word
    // its command is, depend on it.
    enum Origin { FromThisHost = 0, FromRemote = 1, FromReport = 2 };

    long _id;
    char* _header;
    int _status;
    int _nSuppressed;
    int _criterion;
    ConxnMsg* _signature;
    List<ErrorMsg*> _messages;
    Origin _origin;
    std::string _peer;  // the address of a remote client
    // The inode of the client's own socket, as the kernel's socket tables
    // name it (0 when unknown): the process holding it, or one it started,
    // is the one Build may interrupt.
    unsigned long _peerSocket;

protected:
    // Inserts `m` in the current order; the new count, or -1.
    int insert(ErrorMsg* m);

private:
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;

    void makeHeader();
};
