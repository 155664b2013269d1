#pragma once

#include "qip/Monitors/qipSensor.h"

class qipBasicAlarm_impl;

// A one-shot timer sensor: activate() arms it for `_interval` milliseconds;
// it fires once and runs again only when activated again.
class qipBasicAlarm : public qipSensor {
public:
    qipBasicAlarm() : _engine(nullptr), _interval(0) {}

    int activate() override;
    int deactivate() override;
    const char* className() const override { return "qipBasicAlarm"; }
    void eventDetected() override;

    virtual void setTimer(unsigned long ms) { _interval = ms; }

    unsigned long interval() const { return _interval; }
    qipBasicAlarm_impl* engine() const { return _engine; }
    void engine(qipBasicAlarm_impl* e) { _engine = e; }

protected:
    qipBasicAlarm_impl* _engine;
    unsigned long _interval;
};
