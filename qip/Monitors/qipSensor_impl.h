#pragma once

#include "qip/Monitors/qipGadget.h"

// The engine half of an event source: registered with the event loop, it
// calls triggerSensor() when its event happens, which notifies its sensor.
class qipSensor_impl : public qipGadget {
public:
    const char* className() const override { return "qipSensor_impl"; }
    virtual void triggerSensor() = 0;
};
