#pragma once

#include <memory>

#include "qip/Monitors/qipFdActivity_impl.h"
#include "qip/Monitors/qipSafeAIFS.h"

class ConxnMsg;
class NetManager;

// One accepted client connection: the socket, the client's number (token) and
// the framed input stream that the event loop wakes when the socket is
// readable. It reads the sign-on record, then one message record per frame,
// and hands what it reads to the message area. It owns its stream (which
// owns its engine) and its socket until the manager closes it; the manager
// owns the connection.
class NetConnection {
public:
    NetConnection(int socket, NetManager* manager, long token);
    virtual ~NetConnection();

    // Reads the sign-on record (blocking), signs the client on in the message
    // area and starts watching the socket. 0.
    virtual int activate();
    // One record has arrived in the stream.
    virtual void newMessage();
    // The stream has ended or broken: the manager unlinks this connection at
    // once and destroys it on the next turn of the event loop.
    virtual void connectionLost();

    // Reads the sign-on record into `header` and starts the watch.
    int initialize(ConxnMsg* header);
    // Closes the socket (once).
    void closeSocket();

    int socket() const { return _socket; }
    long token() const { return _token; }
    NetManager* manager() const { return _manager; }

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
    int _socket;
    long _token;
    NetManager* _manager;
    Inbound _in;

private:
    NetConnection(const NetConnection&) = delete;
    NetConnection& operator=(const NetConnection&) = delete;
};
