#include "app/network/NetConnection.h"

#include <unistd.h>

#include <cassert>
#include <cstdlib>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionSink.h"
#include "app/network/NetManager.h"
#include "qip/Monitors/qipFdActivity_X.h"

NetConnection::NetConnection(int socket, NetManager* manager, long token)
    : _socket(socket), _token(token), _manager(manager), _in(this), _signedOn(false), _peerSocket(0), _since(0)
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
    _in >> *header;
    if (_token == 0)
        _token = atol(header->_pid.text());
    return 0;
}

int NetConnection::activate()
{
    _in.installEngine();
    _in.watch(_socket);
    return _in.activate();
}

NetClient* NetConnection::makeClient(ConxnMsg* header) { return new LmxClient(header); }

void NetConnection::newMessage()
{
    if (_signedOn) {
        takeRecord();
        return;
    }
    ConxnMsg* header = new ConxnMsg(_token);
    initialize(header);
    NetClient* client = makeClient(header);
    client->_peerSocket = _peerSocket;
    if (isRemote()) {
        // A session from another host says so in its line.
        client->_origin = NetClient::FromRemote;
        client->_peer = _peer;
        header->text((std::string(header->id()) + "  (remote: " + _peer + ")").c_str());
    }
    _signedOn = true;
    if (SessionSink* sink = SessionSink::current()) {
        sink->clientSignOn(client);
    } else {
        delete client;
        clientDropped();
    }
    _manager->signedOn(this);
}

void NetConnection::takeRecord()
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
