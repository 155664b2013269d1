#include "qip/Monitors/qipFdActivity_X.h"

#include <cassert>

#include "qip/Monitors/qipAppContext.h"

qipFdActivity_X::~qipFdActivity_X()
{
    if (_inputId)
        XtRemoveInput(_inputId);
}

int qipFdActivity_X::watch(int fd, qipFdActivityEvent what)
{
    if (fd < 0)
        return -1;
    switch (what) {
    case onWrite:
        _conditionMask = reinterpret_cast<XtPointer>(XtInputWriteMask);
        break;
    case onException:
        _conditionMask = reinterpret_cast<XtPointer>(XtInputExceptMask);
        break;
    default:
        _conditionMask = reinterpret_cast<XtPointer>(XtInputReadMask);
        break;
    }
    XtAppContext context = qipAppContext();
    assert(context != 0 && "theApplication->appContext() != 0");
    // A second watch replaces the first registration instead of doubling it.
    if (_inputId)
        XtRemoveInput(_inputId);
    _inputId = XtAppAddInput(context, fd, _conditionMask, fdReady_cbk, this);
    return _inputId ? 0 : -1;
}

int qipFdActivity_X::deactivate()
{
    _status = qipGadget_Off;
    if (_inputId) {
        XtRemoveInput(_inputId);
        _inputId = 0;
        return 0;
    }
    return 1;
}

void qipFdActivity_X::fdReady_cbk(XtPointer clientData, int*, [[maybe_unused]] XtInputId* id_p)
{
    qipFdActivity_X* watcher = static_cast<qipFdActivity_X*>(clientData);
    assert(watcher->_inputId == *id_p);
    watcher->triggerSensor();
}
