#pragma once

#include <string>

#include "qip/Monitors/qipFdActivity.h"

// A descriptor sensor on a listening TCP socket. monitor() creates, binds and
// listens; activating the sensor then watches the socket for connections.
// It listens on one address: every address of the host unless one is set.
// It owns the listening socket.
class qipPortSensor : public qipFdActivity {
public:
    qipPortSensor() : _port(0) {}
    ~qipPortSensor() override;

    // The address to listen on, an IPv4 or IPv6 literal ("127.0.0.1", "::1");
    // "" for every address.
    void address(const std::string& a) { _address = a; }
    const std::string& address() const { return _address; }

    // Creates the listening socket on `port`; 0, or -1 when it cannot be had
    // (errno says why: EADDRINUSE for a port taken). Does not activate the sensor.
    int monitor(long port);
    // Closes the listening socket.
    void stopListening();

    // Creates, binds and listens (with the longest backlog the system
    // allows); the descriptor, or -1.
    virtual int attachPortToSocket();

    long port() const { return _port; }

protected:
    long _port;
    std::string _address;
};
