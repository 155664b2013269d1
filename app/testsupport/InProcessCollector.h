#pragma once

#include <functional>
#include <memory>

#include "app/network/NetManager.h"

class NetClient;
class qipFdActivity_X;

// A collector inside the test process: a NetManager listening on a loopback
// port, watched by the test application's event loop. Tests run their client
// in a thread while the loop serves it. It owns the manager and the engine
// that watches the manager's socket.
class InProcessCollector {
public:
    InProcessCollector();
    ~InProcessCollector();

    // Listens on `port` and watches it; false when the port is taken.
    bool listen(int port);
    // Runs the loop while `client` runs in its own thread, until the client
    // is done and `until` holds; whether `until` came true in time.
    bool serve(const std::function<void()>& client, const std::function<bool()>& until, int timeoutMs);
    // The last client of the message area with that number, or null.
    static NetClient* clientWithId(long id);

    NetManager& manager() { return _manager; }

private:
    NetManager _manager;
    std::unique_ptr<qipFdActivity_X> _engine;
};
