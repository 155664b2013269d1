#include <gtest/gtest.h>

#include "app/testsupport/InProcessCollector.h"

#include <atomic>
#include <thread>

#include "app/messages/MsgArea.h"
#include "app/sessions/NetClient.h"
#include "app/testsupport/AppTestEnv.h"
#include "qip/Monitors/qipFdActivity_X.h"
#include "tests/support/TestSupport.h"

InProcessCollector::InProcessCollector()
{
    appTestApp();
    _engine.reset(new qipFdActivity_X(&_manager));
    _manager.engine(_engine.get());
}

InProcessCollector::~InProcessCollector()
{
    _manager.deactivate();
    _manager.engine(nullptr);
}

bool InProcessCollector::listen(int port) { return _manager.listen(port) == 0 && _manager.activate() == 0; }

bool InProcessCollector::serve(const std::function<void()>& client, const std::function<bool()>& until,
                               int timeoutMs)
{
    std::atomic<bool> done(false);
    std::thread t([&] {
        client();
        done = true;
    });
    bool ok = lumox_test::runLoopUntil(appTestContext(), [&] { return done && until(); }, timeoutMs);
    if (!done)
        lumox_test::runLoopUntil(appTestContext(), [&] { return done.load(); }, timeoutMs);
    t.join();
    return ok;
}

NetClient* InProcessCollector::clientWithId(long id)
{
    NetClient* found = nullptr;
    for (ListIterator<NetClient*> i(theMessageContainer->clients()); i.valid(); i.next())
        if (i.current()->_id == id)
            found = i.current();
    return found;
}
