#include "qip/Components/qipVStack.h"

#include <Xm/Form.h>
#include <Xm/Xm.h>

#include <cassert>

qipVStack::qipVStack(const char* name, qipVCell* upper, qipVCell* lower)
    : qipVCell(name), _upper(upper), _lower(lower)
{
}

void qipVStack::install(qipVCell* parent)
{
    assert(parent != 0);
    _base = XtVaCreateManagedWidget("vbutton", xmFormWidgetClass, parent->clientArea(), nullptr);
    _clientArea = _base;
    installDestroyHandler();
    if (_upper) {
        _upper->install(this);
        if (Widget w = _upper->baseWidget())
            XtVaSetValues(w, XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM,
                          XmNrightAttachment, XmATTACH_FORM, nullptr);
    }
    if (_lower) {
        _lower->install(this);
        Widget w = _lower->baseWidget();
        Widget above = _upper ? _upper->baseWidget() : nullptr;
        if (w && above)
            XtVaSetValues(w, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, above, XmNleftAttachment,
                          XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
        else if (w)
            XtVaSetValues(w, XmNtopAttachment, XmATTACH_FORM, nullptr);
    }
}
