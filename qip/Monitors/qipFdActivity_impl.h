#pragma once

#include "qip/Monitors/qipFdActivity.h"
#include "qip/Monitors/qipSensor_impl.h"

// The engine interface of a descriptor sensor.
class qipFdActivity_impl : public qipSensor_impl {
public:
    explicit qipFdActivity_impl(qipFdActivity* client = nullptr) : _client(client) {}

    void triggerSensor() override { _client->eventDetected(); }
    virtual int watch(int fd, qipFdActivityEvent what) = 0;

    qipFdActivity* client() const { return _client; }
    void client(qipFdActivity* c) { _client = c; }

protected:
    qipFdActivity* _client;
};
