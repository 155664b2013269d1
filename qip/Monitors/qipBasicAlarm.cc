#include "qip/Monitors/qipBasicAlarm.h"

#include <cassert>

#include "qip/Monitors/qipBasicAlarm_impl.h"

int qipBasicAlarm::activate()
{
    if (_interval == 0)
        return 0;
    _status = qipGadget_On;
    assert(_engine != 0);
    return _engine->set(_interval);
}

int qipBasicAlarm::deactivate()
{
    if (_interval == 0)
        return 0;
    _status = qipGadget_Off;
    assert(_engine != 0);
    return _engine->deactivate();
}

void qipBasicAlarm::eventDetected() { triggered(); }
