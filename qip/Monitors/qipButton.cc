#include "qip/Monitors/qipButton.h"

#include <cassert>

#include "qip/Monitors/qipButton_impl.h"

int qipButton::activate()
{
    assert(_engine != 0);
    _status = qipGadget_On;
    return _engine->activate();
}

int qipButton::deactivate()
{
    assert(_engine != 0);
    _status = qipGadget_Off;
    return _engine->deactivate();
}
