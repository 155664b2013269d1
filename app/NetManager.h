#pragma once

#include "qip/Monitors/qipPortSensor.h"
#include "qip/Support/List.h"

class NetConnection;

// The listening socket and every live client connection. When the socket is
// readable it accepts the connection and lets the connection factory run the
// handshake; it owns the connections until they end.
class NetManager : public qipPortSensor {
public:
    NetManager() : _port(3255) {}
    ~NetManager() override;

    void triggered() override;
    const char* className() const override { return "NetManager"; }

    virtual int openConnection();
    virtual void closeConnection(NetConnection* c);

    int nConnections() const { return _connections.length(); }

protected:
    int _port;
    List<NetConnection*> _connections;
};
