#pragma once

#include "qip/Monitors/qipPortSensor.h"
#include "qip/Support/List.h"

class NetConnection;

// The listening socket and every live client connection. When the socket is
// readable it accepts the connection and lets the connection factory run the
// handshake; it owns the connections until they end, and keeps their number
// on the status bar. The engine that watches the socket belongs to whoever
// installed it.
class NetManager : public qipPortSensor {
public:
    NetManager() : _port(3255) { qipPortSensor::_port = 3255; }
    ~NetManager() override;

    void triggered() override;
    const char* className() const override { return "NetManager"; }

    // Accepts a connection; the socket, or a negative value.
    virtual int openConnection();
    // Ends a connection whose stream has ended: closes its socket, signs the
    // client off, drops and destroys the connection.
    virtual void closeConnection(NetConnection* c);

    int nConnections() const { return _connections.length(); }
    // The live connections of every manager: the program may not exit
    // while there are any.
    static int liveConnections() { return _live; }
    const List<NetConnection*>& connections() const { return _connections; }

protected:
    int _port;
    List<NetConnection*> _connections;

private:
    static int _live;
};
