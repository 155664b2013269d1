#pragma once

#include <X11/Intrinsic.h>

#include <memory>
#include <string>
#include <vector>

#include "app/network/NetConnection.h"
#include "qip/Monitors/qipPortSensor.h"
#include "qip/Support/List.h"

class NetHandshake;
class NetListener;

// The listening sockets and every client connection. It listens on this
// host's loopback only (127.0.0.1 and ::1), or on the addresses LUMOX_LISTEN
// names; its own socket is the first address, the others are listeners it
// owns. An accepted socket goes through its handshake and its sign-on as
// they arrive, without ever waiting for a client: a client that has not
// signed on within SignOnTime is closed and leaves no session. Once signed
// on, a connection is listed in `_connections` and counted on the status
// bar. A connection that ends is unlinked at once and destroyed on the next
// turn of the event loop, never from inside its own callback. It owns the
// handshakes, the connections and the listeners; the engine that watches
// its own socket belongs to whoever installed it.
class NetManager : public qipPortSensor {
public:
    // How long a client has for its handshake and sign-on: 10 s.
    enum { SignOnTime = 10000 };

    NetManager();
    ~NetManager() override;

    // Connections on the manager's own socket.
    void triggered() override;
    const char* className() const override { return "NetManager"; }

    // Listens on `port` at every address; 0, or -1 when the port cannot be
    // had at one of them (errno EADDRINUSE when it is taken). Does not
    // activate the sockets; activate() does.
    int listen(long port);
    int activate() override;
    int deactivate() override;
    // The addresses to listen on: LUMOX_LISTEN's (blanks or commas between
    // them), or 127.0.0.1 and ::1.
    static std::vector<std::string> listenAddresses();

    // Accepts a connection on the manager's own socket; the socket, or a
    // negative value.
    virtual int openConnection();
    // Accepts a connection on the listening socket `fd` and starts its handshake.
    void acceptFrom(int fd);
    // The handshake `h` has ended, `whole` or not: the manager makes the
    // connection it asks for (or refuses it) and destroys the handshake on
    // the next turn of the loop.
    void handshakeDone(NetHandshake* h, bool whole);
    // Connection `c` has read its sign-on: it joins the connections.
    void signedOn(NetConnection* c);
    // Ends a connection whose stream has ended: stops watching it, closes its
    // socket, signs the client off (when it had signed on) and drops it at
    // once. The connection itself is destroyed on the next turn of the loop.
    virtual void closeConnection(NetConnection* c);

    // The connections that have signed on.
    int nConnections() const { return _connections.length(); }
    // The clients still in their handshake or sign-on.
    int nPending() const { return _handshakes.length() + _signingOn.length(); }
    // Connections already closed whose destruction waits for the next turn
    // of the event loop.
    int nClosing() const { return static_cast<int>(_closed.size() + _closedHandshakes.size()); }
    // Whether accepting waits for a descriptor to be freed.
    bool paused() const { return _paused; }
    // The live connections of every manager: the program may not exit
    // while there are any.
    static int liveConnections() { return _live; }
    const List<NetConnection*>& connections() const { return _connections; }

    // Milliseconds of a steady clock.
    static long long nowMs();

protected:
    int _port;
    // Owned: each listed connection is destroyed by closeConnection's
    // deferred step or by the manager's destructor.
    List<NetConnection*> _connections;

private:
    NetManager(const NetManager&) = delete;
    NetManager& operator=(const NetManager&) = delete;

    // No descriptor is left: stop watching the listening sockets until one
    // is freed (a connection closes), instead of being woken for ever.
    void pauseAccepting();
    void resumeAccepting();
    // Closes the clients that have not signed on in time.
    void sweep();
    void armSweep();
    // Destroys the closed connections and handshakes. It runs from a
    // zero-length timer, so no connection's own event is on the stack.
    void reap();
    void armReap();
    static void reap_cbk(XtPointer clientData, XtIntervalId* id);
    static void sweep_cbk(XtPointer clientData, XtIntervalId* id);

    std::vector<std::unique_ptr<NetListener>> _listeners;
    List<NetHandshake*> _handshakes;     // owned
    List<NetConnection*> _signingOn;     // owned: handshake done, no sign-on yet
    std::vector<std::unique_ptr<NetConnection>> _closed;
    std::vector<std::unique_ptr<NetHandshake>> _closedHandshakes;
    XtIntervalId _reapTimer;
    XtIntervalId _sweepTimer;
    bool _paused;
    bool _toldPaused;
    // A descriptor held in reserve and let go while a handshake is judged:
    // reading the kernel's socket tables needs one, also when the
    // connections have taken all the others.
    int _reserve;

    static int _live;
};
