#include "qip/Monitors/qipBasicAlarm_X.h"

#include <cassert>

#include "qip/Monitors/qipAppContext.h"

qipBasicAlarm_X::~qipBasicAlarm_X()
{
    if (_timerId)
        XtRemoveTimeOut(_timerId);
}

int qipBasicAlarm_X::set(unsigned long ms)
{
    if (ms == 0)
        return -1;
    XtAppContext context = qipAppContext();
    assert(context != 0 && "theApplication->appContext() != 0");
    // Re-arming replaces a pending timer; two would fire twice.
    if (_timerId)
        XtRemoveTimeOut(_timerId);
    _timerId = XtAppAddTimeOut(context, ms, timeout_cbk, this);
    return _timerId ? 0 : -1;
}

int qipBasicAlarm_X::deactivate()
{
    if (_timerId == 0)
        return -1;
    XtRemoveTimeOut(_timerId);
    _timerId = 0;
    return 0;
}

void qipBasicAlarm_X::timeout_cbk(XtPointer clientData, [[maybe_unused]] XtIntervalId* id_p)
{
    assert(clientData != 0);
    assert(id_p != 0);
    qipBasicAlarm_X* alarm = static_cast<qipBasicAlarm_X*>(clientData);
    assert(alarm->_timerId == *id_p);
    // The toolkit forgets a timer once it fires.
    alarm->_timerId = 0;
    alarm->triggerSensor();
}
