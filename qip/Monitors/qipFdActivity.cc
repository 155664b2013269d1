#include "qip/Monitors/qipFdActivity.h"

#include <cassert>

#include "qip/Monitors/qipFdActivity_impl.h"

int qipFdActivity::watch(int fd)
{
    if (fd < 0)
        return -1;
    _fildes = fd;
    return 0;
}

int qipFdActivity::activate()
{
    if (_fildes == -1)
        return 0;
    _status = qipGadget_On;
    assert(_engine != 0);
    return _engine->watch(_fildes, _toWatch);
}

int qipFdActivity::deactivate()
{
    if (_fildes == -1)
        return 0;
    _status = qipGadget_Off;
    assert(_engine != 0);
    return _engine->deactivate();
}

void qipFdActivity::eventDetected() { triggered(); }
