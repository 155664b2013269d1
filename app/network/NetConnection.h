#pragma once

#include <memory>
#include <string>

#include "qip/Monitors/qipFdActivity_impl.h"
#include "qip/Monitors/qipSafeAIFS.h"

class ConxnMsg;
class NetClient;
class NetManager;

// One accepted client connection: the socket, the client's number (token) and
// the framed input stream that the event loop wakes when the socket is
// readable. Its first frame is the sign-on record, each later one a message
// record; it hands what it reads to the message area. It owns its stream
// (which owns its engine) and its socket until the manager closes it; the
// manager owns the connection.
class NetConnection {
public:
    NetConnection(int socket, NetManager* manager, long token);
    virtual ~NetConnection();

    // Starts watching the socket. The sign-on record is read when its frame
    // has come, like every other record: a client that is slow to sign on
    // holds up nothing (the sign-on used to be read with blocking reads
    // inside the accept handler). 0.
    virtual int activate();
    // One whole frame has arrived in the stream: the sign-on, then a record.
    virtual void newMessage();
    // The stream has ended or broken: the manager unlinks this connection at
    // once and destroys it on the next turn of the event loop.
    virtual void connectionLost();

    // Reads the sign-on record of the current frame into `header`; a client
    // without a number takes its pid as its number.
    int initialize(ConxnMsg* header);
    // Closes the socket (once).
    void closeSocket();

    int socket() const { return _socket; }
    long token() const { return _token; }
    NetManager* manager() const { return _manager; }
    bool signedOn() const { return _signedOn; }
    // The peer is on another host, at `peer` (only when told to listen there).
    void remote(const std::string& peer) { _peer = peer; }
    bool isRemote() const { return !_peer.empty(); }
    // The inode of the client's socket, as the kernel's tables name it.
    void peerSocket(unsigned long inode) { _peerSocket = inode; }
    // When the client was accepted, in the manager's milliseconds.
    long long since() const { return _since; }
    void since(long long ms) { _since = ms; }

    // The connection's input stream: its events go to the owner. It owns
    // the engine installEngine() makes; the sensor's `_engine` points at it.
    class Inbound : public qipSafeAIFS {
    public:
        explicit Inbound(NetConnection* owner) : _owner(owner) {}
        ~Inbound() override;

        const char* className() const override { return "NetConnection::Inbound"; }
        void triggered() override { _owner->newMessage(); }
        void error() override { _owner->connectionLost(); }
        // Gives the stream its event-loop engine (not yet watching).
        void installEngine();

        NetConnection* _owner;

    private:
        std::unique_ptr<qipFdActivity_impl> _ownEngine;
    };

    Inbound& in() { return _in; }

protected:
    // The session of this kind of client, for its sign-on record.
    virtual NetClient* makeClient(ConxnMsg* header);
    // One record after the sign-on, from the current frame.
    virtual void takeRecord();
    // The client made for the sign-on was not kept (no one shows sessions).
    virtual void clientDropped() {}

    int _socket;
    long _token;
    NetManager* _manager;
    Inbound _in;
    bool _signedOn;
    std::string _peer;
    unsigned long _peerSocket;
    long long _since;

private:
    NetConnection(const NetConnection&) = delete;
    NetConnection& operator=(const NetConnection&) = delete;
};
