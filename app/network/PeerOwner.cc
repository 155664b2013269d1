#include "app/network/PeerOwner.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// An address and port as the kernel's tables write them: the address's
// 32-bit words each in the host's byte order, in hexadecimal, then ':' and
// the port in hexadecimal.
std::string tableEntry(const sockaddr_storage& a)
{
    char out[64];
    if (a.ss_family == AF_INET) {
        const sockaddr_in* in = reinterpret_cast<const sockaddr_in*>(&a);
        snprintf(out, sizeof out, "%08X:%04X", static_cast<unsigned>(in->sin_addr.s_addr), ntohs(in->sin_port));
        return out;
    }
    const sockaddr_in6* in6 = reinterpret_cast<const sockaddr_in6*>(&a);
    uint32_t words[4];
    memcpy(words, &in6->sin6_addr, sizeof words);
    snprintf(out, sizeof out, "%08X%08X%08X%08X:%04X", words[0], words[1], words[2], words[3],
             ntohs(in6->sin6_port));
    return out;
}

// An IPv4 address an IPv6 socket shows as ::ffff:a.b.c.d, as IPv4: that is
// how the peer's own socket stands in the tables.
void unmap(sockaddr_storage& a)
{
    if (a.ss_family != AF_INET6)
        return;
    sockaddr_in6 in6;
    memcpy(&in6, &a, sizeof in6);
    if (!IN6_IS_ADDR_V4MAPPED(&in6.sin6_addr))
        return;
    sockaddr_in in;
    memset(&in, 0, sizeof in);
    in.sin_family = AF_INET;
    in.sin_port = in6.sin6_port;
    memcpy(&in.sin_addr, in6.sin6_addr.s6_addr + 12, 4);
    memset(&a, 0, sizeof a);
    memcpy(&a, &in, sizeof in);
}

}  // namespace

long PeerOwner::uidInTable(const char* path, const char* local, const char* remote, unsigned long* inode)
{
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    char line[512];
    long uid = -1;
    if (!fgets(line, sizeof line, f)) {  // the heading
        fclose(f);
        return -1;
    }
    while (uid < 0 && fgets(line, sizeof line, f)) {
        char l[64], r[64];
        unsigned long owner = 0, node = 0;
        // "sl local remote st tx:rx tr:when retrnsmt uid timeout inode ..."
        if (sscanf(line, " %*s %63s %63s %*s %*s %*s %*s %lu %*s %lu", l, r, &owner, &node) == 4
            && strcasecmp(l, local) == 0 && strcasecmp(r, remote) == 0) {
            uid = static_cast<long>(owner);
            if (inode)
                *inode = node;
        }
    }
    fclose(f);
    return uid;
}

long PeerOwner::uidOf(int socket)
{
    unsigned long inode = 0;
    return uidOf(socket, inode);
}

long PeerOwner::uidOf(int socket, unsigned long& inode)
{
    sockaddr_storage ours, peer;
    socklen_t n = sizeof ours, m = sizeof peer;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&ours), &n) != 0
        || getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &m) != 0)
        return -1;
    unmap(ours);
    unmap(peer);
    if (ours.ss_family != peer.ss_family)
        return -1;
    // The peer's own socket: its local end is the peer, its remote end us.
    const char* table = peer.ss_family == AF_INET ? "/proc/net/tcp" : "/proc/net/tcp6";
    if (peer.ss_family != AF_INET && peer.ss_family != AF_INET6)
        return -1;
    return uidInTable(table, tableEntry(peer).c_str(), tableEntry(ours).c_str(), &inode);
}

bool PeerOwner::isLoopback(int socket)
{
    sockaddr_storage peer;
    socklen_t m = sizeof peer;
    if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &m) != 0)
        return false;
    if (peer.ss_family == AF_INET)
        return (ntohl(reinterpret_cast<sockaddr_in*>(&peer)->sin_addr.s_addr) >> 24) == 127;
    if (peer.ss_family == AF_INET6) {
        const in6_addr& a = reinterpret_cast<sockaddr_in6*>(&peer)->sin6_addr;
        if (IN6_IS_ADDR_LOOPBACK(&a))
            return true;
        // An IPv4 client on a dual-stack socket.
        return IN6_IS_ADDR_V4MAPPED(&a) && a.s6_addr[12] == 127;
    }
    return false;
}
