#include "app/network/ZxNetCon.h"

#include "app/records/ConxnMsg.h"
#include "app/sessions/SessionSink.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrHdr.h"
#include "app/records/ZxErrMsg.h"

ZxNetCon::ZxNetCon(int socket, NetManager* manager, long token) : NetConnection(socket, manager, token), _client(nullptr)
{
}

NetClient* ZxNetCon::makeClient(ConxnMsg* header)
{
    // The client signs on with the sink, which owns it; the connection
    // keeps only a pointer for the context records that follow.
    _client = new ZxClient(header);
    return _client;
}

void ZxNetCon::takeRecord()
{
    ZxErrHdr header(_token);
    if (header.read(_in) != 0)
        return;
    char* body = header.body();
    char* end = body + header.bodySize();
    switch (header.kind()) {
    case ZxErrHdr::CommandLine:
        if (_client)
            _client->setCmdline(header.count(), body, end);
        break;
    case ZxErrHdr::Environment:
        if (_client)
            _client->setEnviron(header.count(), body, end);
        break;
    case ZxErrHdr::Cwd:
        if (_client)
            _client->setCwd(body);
        break;
    default:
        if (ZxErrMsg* m = header.message()) {
            if (SessionSink* sink = SessionSink::current())
                sink->newMessage(_token, m);
            else
                delete m;
        }
        break;
    }
}
