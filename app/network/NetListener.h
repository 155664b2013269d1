#pragma once

#include <memory>

#include "qip/Monitors/qipFdActivity_impl.h"
#include "qip/Monitors/qipPortSensor.h"

class NetManager;

// One more address the manager listens on (the manager's own socket is the
// first): its connections go to the manager. It owns its socket and engine.
class NetListener : public qipPortSensor {
public:
    NetListener(NetManager* manager, const std::string& address);
    ~NetListener() override;

    const char* className() const override { return "NetListener"; }
    void triggered() override;

private:
    NetManager* _manager;
    std::unique_ptr<qipFdActivity_impl> _ownEngine;
};
