#include "app/network/ConnectionFactory.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/network/NetConnection.h"
#include "app/network/PeerOwner.h"
#include "app/network/ZxNetCon.h"

long ConnectionFactory::_token = 65535;

namespace {
const int HandshakeSize = 2048;

// The four-byte answer; a peer that has gone must not raise SIGPIPE here.
bool reply(int socket, const void* bytes)
{
    ssize_t n;
    do
        n = send(socket, bytes, sizeof(int32_t), MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(sizeof(int32_t));
}

void refuse(int socket)
{
    int32_t zero = 0;
    reply(socket, &zero);
}
}  // namespace

NetConnection* ConnectionFactory::connectionFor(const char* signature, int socket, NetManager* manager, long token)
{
    if (strcmp(signature, "Zentrix") == 0)
        return new ZxNetCon(socket, manager, token);
    return new NetConnection(socket, manager, token);
}

NetConnection* ConnectionFactory::makeNetConnection(int socket, NetManager* manager, const char* bytes, int n,
                                                    bool remote, const std::string& peer)
{
    if (n <= 0)
        return nullptr;
    // Two spare NULs, so that the user id after '>' can always be scanned.
    char data[HandshakeSize + 2];
    memset(data, 0, sizeof data);
    memcpy(data, bytes, static_cast<size_t>(n < HandshakeSize ? n : HandshakeSize));
    const char* mark = n > 4 ? static_cast<const char*>(memchr(data + 4, '>', static_cast<size_t>(n - 4))) : nullptr;

    // Who the client is: on this host, the owner of its socket as the kernel
    // says, whatever it claims (a claim alone let any local user in under
    // this user's id); from another host only its claim can tell.
    unsigned long inode = 0;
    long owner = remote ? static_cast<long>(getuid()) : PeerOwner::uidOf(socket, inode);
    if (owner != static_cast<long>(getuid())) {
        if (!remote)
            fprintf(stderr, " *** ConnectionFactory::makeNetConnection: refused a client of user %ld\n", owner);
        refuse(socket);
        return nullptr;
    }

    NetConnection* connection;
    if (!mark) {
        // Binary handshake: the user id as a raw integer, echoed on success.
        int32_t uid;
        memcpy(&uid, data, sizeof uid);
        if (n < 4 || uid != static_cast<int32_t>(getuid())) {
            refuse(socket);
            return nullptr;
        }
        if (!reply(socket, data))
            return nullptr;
        connection = connectionFor("", socket, manager, 0);
    } else {
        // Tagged handshake: "<signature> uid", answered with a new number.
        std::string signature(data + 1, static_cast<size_t>(mark - data - 1));
        long uid = atoi(mark + 2);
        if (uid != static_cast<long>(getuid())) {
            refuse(socket);
            return nullptr;
        }
        long token = ++_token;
        int32_t answer = static_cast<int32_t>(token);
        if (!reply(socket, &answer))
            return nullptr;
        connection = connectionFor(signature.c_str(), socket, manager, token);
    }
    if (remote)
        connection->remote(peer);
    connection->peerSocket(inode);
    return connection;
}
