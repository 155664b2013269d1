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
#include "qip/Monitors/qipAppContext.h"

int NetManager::_live = 0;

NetManager::~NetManager()
{
    // The closed connections go with the manager; the timer that was to
    // destroy them must not fire on a manager that is gone.
    if (_reapTimer)
        XtRemoveTimeOut(_reapTimer);
    _closed.clear();
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
    // Stop watching first: the socket's number may be handed out again once
    // it is closed.
    c->in().deactivate();
    c->closeSocket();
    if (SessionSink* sink = SessionSink::current())
        sink->clientSignOff(c->token());
    _connections.remove(c);
    --_live;
    StatusView::connections(_connections.length());
    StatusView::show("Connection closed");
    // The connection's own event is still on the stack (its stream's error()
    // called us): it is destroyed on the next turn of the loop, and nothing
    // may touch it after that.
    _closed.emplace_back(c);
    if (!_reapTimer && qipAppContext())
        _reapTimer = XtAppAddTimeOut(qipAppContext(), 0, reap_cbk, this);
}

void NetManager::reap()
{
    _reapTimer = 0;
    _closed.clear();
}

void NetManager::reap_cbk(XtPointer clientData, XtIntervalId*) { static_cast<NetManager*>(clientData)->reap(); }
