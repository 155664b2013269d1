#pragma once

class NetConnection;
class NetManager;

// Runs the opening handshake of an accepted socket: checks that the client
// runs as the same user, hands out the client's number and creates the
// connection that fits the client's signature. Only static members.
class ConnectionFactory {
public:
    // A new, activated connection, or null when the client was refused or the
    // socket broke (the caller closes the socket then).
    static NetConnection* makeNetConnection(int socket, NetManager* manager);

    // The last client number handed out; the first is 65536. Loaded report
    // sessions draw their numbers from it too.
    static long _token;

private:
    // The connection class for a signature.
    static NetConnection* connectionFor(const char* signature, int socket, NetManager* manager, long token);
};
