#pragma once

#include <sys/types.h>

// Who is at the other end of an accepted TCP connection on this machine:
// the user that owns the peer's socket, as the kernel's socket tables
// (/proc/net/tcp and /proc/net/tcp6) say, matched by the peer's address and
// port and ours. A client's claim about its user id proves nothing; this is
// the fact. Only for peers on this host (loopback): a remote peer's socket
// is not in our tables.
class PeerOwner {
public:
    // The uid owning the peer of `socket`, or -1 when it cannot be found
    // (not a TCP socket, the peer already gone, or not on this host).
    static long uidOf(int socket);
    // The same, with the inode of the peer's socket, which names the socket
    // in its process's /proc/PID/fd; -1 as above.
    static long uidOf(int socket, unsigned long& inode);

    // Whether the peer of `socket` is on this host's loopback.
    static bool isLoopback(int socket);

    // The entry of a table line whose local end is `local` and remote end
    // `remote` (both "ADDR:PORT" as the table writes them): its uid, or -1.
    // Public for the tests, which read a real table.
    static long uidInTable(const char* path, const char* local, const char* remote,
                           unsigned long* inode = nullptr);
};
