#include "app/supreditor/SuprTextSelector.h"

#include <X11/keysym.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <string>

#include "app/supreditor/SuprHeaders.h"

SuprTextSelector::SuprTextSelector(const char* name, SuprHeaders* owner)
    : TextField(name), _owner(owner), _open(false)
{
}

SuprTextSelector::~SuprTextSelector()
{
    if (_base)
        XtRemoveEventHandler(_base, KeyPressMask, False, key_evh, this);
}

void SuprTextSelector::install(qipVCell* parent)
{
    TextField::install(parent);
    if (_base)
        XtAddEventHandler(_base, KeyPressMask, False, key_evh, this);
}

int SuprTextSelector::open(int x, int y, int width, const char* preset)
{
    if (!_base)
        return -1;
    text(preset ? preset : "");
    XtVaSetValues(_base, XmNx, static_cast<Position>(x), XmNy, static_cast<Position>(y), XmNwidth,
                  static_cast<Dimension>(width > 40 ? width : 40), nullptr);
    XtManageChild(_base);
    activate();
    _open = true;
    XmProcessTraversal(_base, XmTRAVERSE_CURRENT);
    // The preset is selected, so that typing replaces it and an arrow key keeps it.
    XmTextPosition end = XmTextFieldGetLastPosition(_base);
    XmTextFieldSetInsertionPosition(_base, end);
    XmTextFieldSetSelection(_base, 0, end, XtLastTimestampProcessed(XtDisplay(_base)));
    return 0;
}

void SuprTextSelector::close()
{
    _open = false;
    deactivate();
    if (_base && XtIsManaged(_base))
        XtUnmanageChild(_base);
}

void SuprTextSelector::triggered()
{
    std::string entered = text() ? text() : "";
    close();
    report(entered.empty() ? nullptr : entered.c_str());
}

void SuprTextSelector::keyPressed(XEvent* event)
{
    if (!_open || event->type != KeyPress)
        return;
    if (XLookupKeysym(&event->xkey, 0) == XK_Escape) {
        close();
        _owner->cancelEdit();
    }
}

void SuprTextSelector::key_evh(Widget, XtPointer clientData, XEvent* event, Boolean*)
{
    static_cast<SuprTextSelector*>(clientData)->keyPressed(event);
}

void SuprClassSelector::report(const char* text) { _owner->newClassField(text); }

void SuprFileSelector::report(const char* text) { _owner->newFileField(text); }
