#include "app/network/NetConnection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cassert>
#include <cstdlib>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionSink.h"
#include "app/network/NetManager.h"
#include "qip/Monitors/qipFdActivity_X.h"

NetConnection::NetConnection(int socket, NetManager* manager, long token)
    : _socket(socket), _token(token), _manager(manager), _in(this)
{
}

NetConnection::~NetConnection() { closeSocket(); }

void NetConnection::closeSocket()
{
    if (_socket >= 0)
        close(_socket);
    _socket = -1;
}

int NetConnection::initialize(ConxnMsg* header)
{
    assert(header != 0);
    _in.installEngine();
    _in.watch(_socket);
    // A client that sends no proper first frame signs on with empty fields
    // and is closed at the next readable event; a broken frame shuts the
    // socket, so that it reads as ended even while the peer stays.
    int r = _in.read();
    if (r <= 0)
        _in.buffer()->filled(0);
    if (r < 0)
        shutdown(_socket, SHUT_RDWR);
    _in >> *header;
    if (_token == 0)
        _token = atol(header->_pid.text());
    return _in.activate();
}

int NetConnection::activate()
{
    ConxnMsg* header = new ConxnMsg(_token);
    initialize(header);
    LmxClient* client = new LmxClient(header);
    if (SessionSink* sink = SessionSink::current())
        sink->clientSignOn(client);
    else
        delete client;
    return 0;
}

void NetConnection::newMessage()
{
    ErrorMsg* m = new ErrorMsg(_token);
    _in >> *m;
    if (SessionSink* sink = SessionSink::current())
        sink->newMessage(_token, m);
    else
        delete m;
}

// Called from the stream's error(), inside this connection's own event: the
// manager only unlinks the connection now and destroys it on the next turn of
// the loop, so the frames that return through here still find it whole.
void NetConnection::connectionLost() { _manager->closeConnection(this); }

NetConnection::Inbound::~Inbound() = default;

void NetConnection::Inbound::installEngine()
{
    if (_engine)
        return;
    _ownEngine.reset(new qipFdActivity_X(this));
    _engine = _ownEngine.get();
    assert(_engine != 0);
}
