#pragma once

#include "qip/Monitors/qipFdActivity.h"

// A descriptor sensor on a listening TCP socket. monitor() creates, binds and
// listens; activating the sensor then watches the socket for connections.
class qipPortSensor : public qipFdActivity {
public:
    qipPortSensor() : _port(0) {}

    // Creates the listening socket on `port`; 0, or -1 when the port is not free.
    // Does not activate the sensor.
    int monitor(long port);

    // Creates, binds and listens; the descriptor, or -1.
    virtual int attachPortToSocket();

    long port() const { return _port; }

protected:
    long _port;
};
