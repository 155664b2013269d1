#include "app/network/NetManager.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "app/network/ConnectionFactory.h"
#include "app/sessions/SessionSink.h"
#include "app/sessions/StatusView.h"
#include "app/network/NetConnection.h"

int NetManager::_live = 0;

NetManager::~NetManager()
{
    for (ListIterator<NetConnection*> i(_connections); i.valid(); i.next())
        delete i.current();
    _live -= _connections.length();
    _connections.clear();
    if (_fildes >= 0)
        close(_fildes);
}

void NetManager::triggered()
{
    int fd = openConnection();
    if (fd < 0) {
        fprintf(stderr, " *** NetManager::triggered: openConnection failed!\n");
        return;
    }
    NetConnection* c = ConnectionFactory::makeNetConnection(fd, this);
    if (!c) {
        close(fd);
        return;
    }
    _connections.append(c);
    ++_live;
    StatusView::connections(_connections.length());
    StatusView::show("New connection");
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
    // Editors and rebuild commands started later must not inherit it.
    fcntl(fd, F_SETFD, 1);
    return fd;
}

void NetManager::closeConnection(NetConnection* c)
{
    long token = c->token();
    c->closeSocket();
    if (SessionSink* sink = SessionSink::current())
        sink->clientSignOff(token);
    _connections.remove(c);
    --_live;
    StatusView::connections(_connections.length());
    StatusView::show("Connection closed");
    // The connection's own event is still on the stack: it touches nothing
    // after this call returns.
    delete c;
}
