#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "qip/Monitors/qipFdActivity.h"
#include "qip/Monitors/qipFdActivity_impl.h"

class NetManager;

// The opening handshake of an accepted socket, read as it arrives: the
// event loop wakes it when the socket is readable, it gathers the bytes
// without waiting for more, and once the handshake is whole it hands them to
// the manager. A client that stalls in the middle of its handshake holds up
// nothing but itself. (The handshake used to be read with a blocking read
// inside the accept handler, which froze the program while a client sent
// nothing.) It owns the socket until the manager takes it, and its engine.
class NetHandshake : public qipFdActivity {
public:
    // The handshake is at most this long; whatever comes after it is not read.
    enum { MaxSize = 2048 };

    // `remote`: the peer is not on this host's loopback; `peer` its address.
    NetHandshake(int socket, NetManager* manager, bool remote, const std::string& peer);
    ~NetHandshake() override;

    const char* className() const override { return "NetHandshake"; }
    void triggered() override;

    // Whether what has come so far is a whole handshake: the binary one (four
    // bytes of user id, no '>' after them) or the tagged one ("<signature> uid").
    static bool whole(const char* data, int n);

    // Gives the socket away (to the connection the handshake made).
    int release();
    int socket() const { return _socket; }
    const char* data() const { return _data; }
    int size() const { return _n; }
    bool remote() const { return _remote; }
    const std::string& peer() const { return _peer; }
    // When it was accepted, in the manager's milliseconds.
    long long since() const { return _since; }

private:
    NetHandshake(const NetHandshake&) = delete;
    NetHandshake& operator=(const NetHandshake&) = delete;

    int _socket;
    NetManager* _manager;
    bool _remote;
    std::string _peer;
    long long _since;
    char _data[MaxSize + 2];  // two spare NULs, so that the user id can always be scanned
    int _n;
    std::unique_ptr<qipFdActivity_impl> _ownEngine;
};
