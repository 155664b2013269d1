#include "qip/Components/qipTextField_X.h"

#include <Xm/TextF.h>
#include <Xm/Xm.h>

qipTextField_X::qipTextField_X(const char* name, qipTextField* client) : qipTextField_impl(name, client) {}

qipTextField_X::~qipTextField_X()
{
    if (_base && _status == qipGadget_On)
        XtRemoveCallback(_base, XmNactivateCallback, activate_cbk, this);
}

void qipTextField_X::install(qipVCell* parent)
{
    if (!parent || !parent->clientArea())
        return;
    Arg args[1];
    Cardinal n = 0;
    if (_width > 0) {
        XtSetArg(args[n], XmNwidth, (Dimension)_width);
        ++n;
    }
    _base = XtCreateWidget(_name, xmTextFieldWidgetClass, parent->clientArea(), args, n);
    _clientArea = _base;
    installDestroyHandler();
}

void qipTextField_X::destroyed()
{
    _status = qipGadget_Off;
    qipTextField_impl::destroyed();
}

int qipTextField_X::activate()
{
    if (!_base)
        return -1;
    if (_status != qipGadget_On)
        XtAddCallback(_base, XmNactivateCallback, activate_cbk, this);
    _status = qipGadget_On;
    return 0;
}

int qipTextField_X::deactivate()
{
    if (!_base)
        return -1;
    if (_status == qipGadget_On)
        XtRemoveCallback(_base, XmNactivateCallback, activate_cbk, this);
    _status = qipGadget_Off;
    return 0;
}

void qipTextField_X::setText(const char* s)
{
    qipTextField_impl::setText(s);
    if (_base)
        XmTextFieldSetString(_base, const_cast<char*>(_text ? _text : ""));
}

void qipTextField_X::returnPressed()
{
    char* shown = XmTextFieldGetString(_base);
    qipTextField_impl::setText(shown ? shown : "");
    XtFree(shown);
    // The client may delete this field from its handler: nothing after this.
    triggerSensor();
}

void qipTextField_X::activate_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<qipTextField_X*>(clientData)->returnPressed();
}
