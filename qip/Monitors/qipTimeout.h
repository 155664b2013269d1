#pragma once

#include "qip/Monitors/qipBasicAlarm.h"

// The alarm the program uses for time-outs.
class qipTimeout : public qipBasicAlarm {
public:
    const char* className() const override { return "qipTimeout"; }
};
