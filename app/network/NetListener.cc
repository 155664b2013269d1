#include "app/network/NetListener.h"

#include "app/network/NetManager.h"
#include "qip/Monitors/qipFdActivity_X.h"

NetListener::NetListener(NetManager* manager, const std::string& a) : _manager(manager)
{
    address(a);
    _ownEngine.reset(new qipFdActivity_X(this));
    _engine = _ownEngine.get();
}

NetListener::~NetListener()
{
    stopListening();
    _engine = nullptr;
}

void NetListener::triggered() { _manager->acceptFrom(_fildes); }
