#include "app/NetManager.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

NetManager::~NetManager() {}

void NetManager::triggered()
{
    int fd = openConnection();
    if (fd < 0) {
        fprintf(stderr, " *** NetManager::triggered: openConnection failed!\n");
        return;
    }
    // Connections are not served yet: the peer is closed at once.
    close(fd);
}

int NetManager::openConnection()
{
    sockaddr_in peer;
    socklen_t len = sizeof peer;
    int fd = accept(_fildes, reinterpret_cast<sockaddr*>(&peer), &len);
    if (fd < 0) {
        fprintf(stderr, "   NetManager::openConnection: accept failed!\n");
        return fd;
    }
    int on = 1;
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) < 0) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFD, 1);
    return fd;
}

void NetManager::closeConnection(NetConnection*) {}
