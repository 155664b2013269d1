#pragma once

#include "qip/Monitors/qipGadget.h"

// The toolkit-neutral half of an event source. An engine calls
// eventDetected(); by default that calls triggered(), the program's handler.
class qipSensor : public qipGadget {
public:
    const char* className() const override { return "qipSensor"; }
    virtual void eventDetected() = 0;
    virtual void triggered() = 0;
};
