#pragma once

#include <string>

class NetConnection;
class NetManager;

// Judges the opening handshake of an accepted socket: checks who the client
// is, hands out the client's number and creates the connection that fits the
// client's signature. Only static members.
class ConnectionFactory {
public:
    // The connection for the whole handshake `data` (`n` bytes) read from
    // `socket`, answered; or null when the client was refused (answered 0)
    // or the socket broke (the caller closes the socket then). A client on
    // this host is who the kernel says owns its socket, not who it claims to
    // be: it must be this program's user. `remote`: the peer is on another
    // host (only when told to listen there), `peer` its address; such a
    // client can only be judged by its claim.
    static NetConnection* makeNetConnection(int socket, NetManager* manager, const char* data, int n, bool remote,
                                            const std::string& peer);

    // The last client number handed out; the first is 65536. Loaded report
    // sessions draw their numbers from it too.
    static long _token;

private:
    // The connection class for a signature.
    static NetConnection* connectionFor(const char* signature, int socket, NetManager* manager, long token);
};
