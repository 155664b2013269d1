#pragma once

#include "qip/Monitors/qipBasicAlarm.h"
#include "qip/Monitors/qipSensor_impl.h"

// The engine interface of an alarm.
class qipBasicAlarm_impl : public qipSensor_impl {
public:
    explicit qipBasicAlarm_impl(qipBasicAlarm* client = nullptr) : _client(client) {}

    void triggerSensor() override { _client->eventDetected(); }
    virtual int set(unsigned long ms) = 0;

    qipBasicAlarm* client() const { return _client; }
    void client(qipBasicAlarm* c) { _client = c; }

protected:
    qipBasicAlarm* _client;
};
