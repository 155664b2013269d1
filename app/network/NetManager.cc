#include "app/network/NetManager.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/network/ConnectionFactory.h"
#include "app/network/NetConnection.h"
#include "app/network/NetHandshake.h"
#include "app/network/NetListener.h"
#include "app/network/PeerOwner.h"
#include "app/sessions/SessionSink.h"
#include "app/sessions/StatusView.h"
#include "qip/Monitors/qipAppContext.h"

int NetManager::_live = 0;

namespace {

std::string addressOf(const sockaddr_storage& a)
{
    char text[INET6_ADDRSTRLEN] = "";
    if (a.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&a)->sin_addr, text, sizeof text);
    else if (a.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&a)->sin6_addr, text, sizeof text);
    return text;
}

}  // namespace

NetManager::NetManager()
    : _port(3255), _reapTimer(0), _sweepTimer(0), _paused(false), _toldPaused(false),
      _reserve(open("/dev/null", O_RDONLY | O_CLOEXEC))
{
    qipPortSensor::_port = 3255;
}

NetManager::~NetManager()
{
    // What was closed goes with the manager; the timers that were to destroy
    // it must not fire on a manager that is gone.
    if (_reapTimer)
        XtRemoveTimeOut(_reapTimer);
    if (_sweepTimer)
        XtRemoveTimeOut(_sweepTimer);
    _closed.clear();
    _closedHandshakes.clear();
    for (ListIterator<NetHandshake*> i(_handshakes); i.valid(); i.next())
        delete i.current();
    _handshakes.clear();
    for (ListIterator<NetConnection*> i(_signingOn); i.valid(); i.next())
        delete i.current();
    _signingOn.clear();
    for (ListIterator<NetConnection*> i(_connections); i.valid(); i.next())
        delete i.current();
    _live -= _connections.length();
    _connections.clear();
    _listeners.clear();
    if (_reserve >= 0)
        close(_reserve);
}

long long NetManager::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<std::string> NetManager::listenAddresses()
{
    std::vector<std::string> out;
    const char* env = getenv("LUMOX_LISTEN");
    if (env) {
        std::string all = env;
        for (char& c : all)
            if (c == ',')
                c = ' ';
        size_t at = 0;
        while ((at = all.find_first_not_of(" \t", at)) != std::string::npos) {
            size_t end = all.find_first_of(" \t", at);
            std::string a = all.substr(at, end == std::string::npos ? std::string::npos : end - at);
            unsigned char probe[sizeof(in6_addr)];
            if (inet_pton(AF_INET, a.c_str(), probe) == 1 || inet_pton(AF_INET6, a.c_str(), probe) == 1)
                out.push_back(a);
            else
                fprintf(stderr, " *** NetManager: LUMOX_LISTEN: \"%s\" is no IPv4 or IPv6 address; left out\n",
                        a.c_str());
            at = end;
        }
    }
    // Loopback only unless told otherwise (this program listened on every
    // address once, which let any machine send it work).
    if (out.empty())
        out = {"127.0.0.1", "::1"};
    return out;
}

int NetManager::listen(long port)
{
    _listeners.clear();
    std::vector<std::string> addresses = listenAddresses();
    address(addresses[0]);
    if (monitor(port) != 0)
        return -1;
    for (size_t k = 1; k < addresses.size(); ++k) {
        std::unique_ptr<NetListener> l(new NetListener(this, addresses[k]));
        if (l->monitor(port) == 0) {
            _listeners.push_back(std::move(l));
            continue;
        }
        // A host without IPv6 has no ::1; a port taken there is taken.
        if (errno == EADDRNOTAVAIL || errno == EAFNOSUPPORT)
            continue;
        int e = errno;
        _listeners.clear();
        stopListening();
        errno = e;
        return -1;
    }
    return 0;
}

int NetManager::activate()
{
    int r = qipPortSensor::activate();
    for (auto& l : _listeners)
        l->activate();
    return r;
}

int NetManager::deactivate()
{
    int r = qipPortSensor::deactivate();
    for (auto& l : _listeners)
        l->deactivate();
    return r;
}

void NetManager::triggered() { acceptFrom(_fildes); }

int NetManager::openConnection()
{
    sockaddr_storage peer;
    socklen_t len = sizeof peer;
    // The connection never blocks the program: every read of it is made
    // when it is readable, and takes what is there.
    int fd = accept4(_fildes, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        fprintf(stderr, "   NetManager::openConnection: accept failed!\n");
    return fd;
}

void NetManager::acceptFrom(int listening)
{
    sockaddr_storage peer;
    socklen_t len = sizeof peer;
    // Editors and rebuild commands started later must not inherit it.
    int fd = accept4(listening, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
            pauseAccepting();
        else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
            fprintf(stderr, " *** NetManager::triggered: accept failed: %s\n", strerror(errno));
        return;
    }
    _toldPaused = false;
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    bool remote = !PeerOwner::isLoopback(fd);
    NetHandshake* h = new NetHandshake(fd, this, remote, addressOf(peer));
    _handshakes.append(h);
    h->activate();
    armSweep();
}

void NetManager::handshakeDone(NetHandshake* h, bool whole)
{
    _handshakes.remove(h);
    NetConnection* c = nullptr;
    if (whole) {
        if (_reserve >= 0)
            close(_reserve);
        c = ConnectionFactory::makeNetConnection(h->socket(), this, h->data(), h->size(), h->remote(), h->peer());
        _reserve = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (c) {
            h->release();
            c->since(h->since());
            _signingOn.append(c);
            c->activate();
        }
    } else {
        fprintf(stderr, " *** ConnectionFactory::makeNetConnection: bad connection. Aborting\n");
    }
    // The handshake's own event is on the stack: it goes on the next turn,
    // and closes the socket then unless the connection took it.
    h->deactivate();
    _closedHandshakes.emplace_back(h);
    armReap();
    if (!c)
        resumeAccepting();
}

void NetManager::signedOn(NetConnection* c)
{
    _signingOn.remove(c);
    _connections.append(c);
    ++_live;
    StatusView::connections(_connections.length());
    StatusView::show("New connection");
}

void NetManager::closeConnection(NetConnection* c)
{
    // Stop watching first: the socket's number may be handed out again once
    // it is closed.
    c->in().deactivate();
    c->closeSocket();
    // One that never signed on leaves no session behind and was never counted.
    bool signedOn = _signingOn.remove(c) != 0;
    if (signedOn) {
        if (SessionSink* sink = SessionSink::current())
            sink->clientSignOff(c->token());
        if (_connections.remove(c) == 0)
            --_live;
        StatusView::connections(_connections.length());
        StatusView::show("Connection closed");
    }
    // The connection's own event is still on the stack (its stream's error()
    // called us): it is destroyed on the next turn of the loop, and nothing
    // may touch it after that.
    _closed.emplace_back(c);
    armReap();
    resumeAccepting();
}

void NetManager::pauseAccepting()
{
    if (_paused)
        return;
    _paused = true;
    // Said once until a connection is accepted again, however often the
    // retries find no descriptor.
    if (!_toldPaused)
        fprintf(stderr, " *** NetManager: no descriptors left for new connections; accepting again when one closes\n");
    _toldPaused = true;
    deactivate();
    // Descriptors freed elsewhere (an editor's, say) are noticed too.
    armSweep();
}

void NetManager::resumeAccepting()
{
    if (!_paused)
        return;
    _paused = false;
    activate();
}

void NetManager::armReap()
{
    if (!_reapTimer && qipAppContext())
        _reapTimer = XtAppAddTimeOut(qipAppContext(), 0, reap_cbk, this);
}

void NetManager::reap()
{
    _reapTimer = 0;
    _closed.clear();
    _closedHandshakes.clear();
}

void NetManager::armSweep()
{
    if (!_sweepTimer && qipAppContext())
        _sweepTimer = XtAppAddTimeOut(qipAppContext(), 1000, sweep_cbk, this);
}

void NetManager::sweep()
{
    _sweepTimer = 0;
    long long now = nowMs();
    std::vector<NetHandshake*> lateHandshakes;
    for (ListIterator<NetHandshake*> i(_handshakes); i.valid(); i.next())
        if (now - i.current()->since() >= SignOnTime)
            lateHandshakes.push_back(i.current());
    for (NetHandshake* h : lateHandshakes) {
        _handshakes.remove(h);
        h->deactivate();
        delete h;
    }
    std::vector<NetConnection*> lateSignOns;
    for (ListIterator<NetConnection*> i(_signingOn); i.valid(); i.next())
        if (now - i.current()->since() >= SignOnTime)
            lateSignOns.push_back(i.current());
    // No event of theirs is on the stack: they go at once, and leave no session.
    for (NetConnection* c : lateSignOns) {
        _signingOn.remove(c);
        c->in().deactivate();
        delete c;
    }
    if (!lateHandshakes.empty() || !lateSignOns.empty() || _paused)
        resumeAccepting();
    if (nPending() > 0 || _paused)
        armSweep();
}

void NetManager::reap_cbk(XtPointer clientData, XtIntervalId*) { static_cast<NetManager*>(clientData)->reap(); }

void NetManager::sweep_cbk(XtPointer clientData, XtIntervalId*) { static_cast<NetManager*>(clientData)->sweep(); }
