#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "app/network/PeerOwner.h"

namespace {

// A listening loopback socket of the family, on a free port.
int listener(int family, sockaddr_storage& where, socklen_t& len)
{
    int fd = socket(family, SOCK_STREAM, 0);
    memset(&where, 0, sizeof where);
    if (family == AF_INET) {
        sockaddr_in* a = reinterpret_cast<sockaddr_in*>(&where);
        a->sin_family = AF_INET;
        a->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        len = sizeof *a;
    } else {
        sockaddr_in6* a = reinterpret_cast<sockaddr_in6*>(&where);
        a->sin6_family = AF_INET6;
        a->sin6_addr = in6addr_loopback;
        len = sizeof *a;
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&where), len) != 0 || listen(fd, 4) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&where), &len) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// The owner Lumox finds for a connection made by a process running as `uid`
// (this process's own uid: made here; another: a child that becomes it).
long ownerSeen(int family, uid_t uid)
{
    sockaddr_storage where;
    socklen_t len = 0;
    int l = listener(family, where, len);
    if (l < 0)
        return -2;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -2;
    pid_t child = fork();
    if (child == 0) {
        if (uid != getuid() && (setgid(65534) != 0 || setuid(uid) != 0))
            _exit(1);
        int c = socket(family, SOCK_STREAM, 0);
        if (connect(c, reinterpret_cast<sockaddr*>(&where), len) != 0)
            _exit(1);
        char ok;
        // Stay connected until the parent has looked.
        ssize_t n = read(pipeFds[0], &ok, 1);
        _exit(n == 1 ? 0 : 1);
    }
    int a = accept(l, nullptr, nullptr);
    long owner = a >= 0 ? PeerOwner::uidOf(a) : -2;
    EXPECT_TRUE(a >= 0 && PeerOwner::isLoopback(a));
    ssize_t w = write(pipeFds[1], "x", 1);
    (void)w;
    waitpid(child, nullptr, 0);
    close(pipeFds[0]);
    close(pipeFds[1]);
    close(a);
    close(l);
    return owner;
}

}  // namespace

TEST(PeerOwner, theKernelsTablesNameTheUserAtTheOtherEndOverIPv4AndIPv6)
{
    EXPECT_EQ(ownerSeen(AF_INET, getuid()), static_cast<long>(getuid()));
    EXPECT_EQ(ownerSeen(AF_INET6, getuid()), static_cast<long>(getuid()));
    // Another user's process, whatever it would claim; only root can
    // become another user to show it.
    if (getuid() == 0) {
        EXPECT_EQ(ownerSeen(AF_INET, 65534), 65534);
        EXPECT_EQ(ownerSeen(AF_INET6, 65534), 65534);
    }
    EXPECT_EQ(PeerOwner::uidOf(-1), -1);
}
