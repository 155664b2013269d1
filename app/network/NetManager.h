#pragma once

#include <X11/Intrinsic.h>

#include <memory>
#include <vector>

#include "app/network/NetConnection.h"
#include "qip/Monitors/qipPortSensor.h"
#include "qip/Support/List.h"

// The listening socket and every live client connection. When the socket is
// readable it accepts the connection and lets the connection factory run the
// handshake; it owns the connections until they end, and keeps their number
// on the status bar. A connection that ends is unlinked at once and
// destroyed on the next turn of the event loop, never from inside its own
// callback. The engine that watches the socket belongs to whoever installed it.
class NetManager : public qipPortSensor {
public:
    NetManager() : _port(3255), _reapTimer(0) { qipPortSensor::_port = 3255; }
    ~NetManager() override;

    void triggered() override;
    const char* className() const override { return "NetManager"; }

    // Accepts a connection; the socket, or a negative value.
    virtual int openConnection();
    // Ends a connection whose stream has ended: stops watching it, closes its
    // socket, signs the client off and drops it from the list at once. The
    // connection itself is destroyed on the next turn of the event loop.
    virtual void closeConnection(NetConnection* c);

    int nConnections() const { return _connections.length(); }
    // Connections already closed whose destruction waits for the next turn
    // of the event loop.
    int nClosing() const { return static_cast<int>(_closed.size()); }
    // The live connections of every manager: the program may not exit
    // while there are any.
    static int liveConnections() { return _live; }
    const List<NetConnection*>& connections() const { return _connections; }

protected:
    int _port;
    // Owned: each listed connection is destroyed by closeConnection's
    // deferred step or by the manager's destructor.
    List<NetConnection*> _connections;

private:
    // Destroys the closed connections. It runs from a zero-length timer, so
    // no connection's own event is on the stack.
    void reap();
    static void reap_cbk(XtPointer clientData, XtIntervalId* id);

    std::vector<std::unique_ptr<NetConnection>> _closed;
    XtIntervalId _reapTimer;

    static int _live;
};
