#pragma once

#include "app/network/NetConnection.h"

class ZxClient;

// The connection of a static-analysis client (handshake signature
// "Zentrix"). It signs the client on as a ZxClient, then reads one record per
// frame: the analysed program's command line, environment and working
// directory go to the client, every violation to the message area. The
// message area owns the client; the connection only points at it.
class ZxNetCon : public NetConnection {
public:
    ZxNetCon(int socket, NetManager* manager, long token);

    ZxClient* client() const { return _client; }

protected:
    NetClient* makeClient(ConxnMsg* header) override;
    void takeRecord() override;
    void clientDropped() override { _client = nullptr; }

    ZxClient* _client;
};
