#include "qip/Components/qipButton_X.h"

#include <Xm/PushB.h>
#include <Xm/RowColumn.h>

#include <cassert>
#include <cstdlib>
#include <cstring>

#include "qip/Components/qipIcon.h"

qipButton_X::qipButton_X(const char* name, qipButton* client)
    : qipButton_impl(client),
      qipVCell(name),
      _label(nullptr),
      _icon(nullptr),
      _iconDisabled(nullptr),
      _button(nullptr),
      _inMenu(false)
{
    if (client)
        client->engine(this);
}

qipButton_X::~qipButton_X()
{
    // The cell's destructor removes its own callbacks; the press callback
    // may sit on a button inside the base widget.
    if (_base && _button)
        XtRemoveCallback(_button, XmNactivateCallback, activate_cbk, this);
    if (_client && _client->engine() == this)
        _client->engine(nullptr);
    delete _icon;
    delete _iconDisabled;
    free(_label);
}

int qipButton_X::activate()
{
    _status = qipGadget_On;
    if (!_base)
        return -1;
    XtSetSensitive(_base, True);
    return 0;
}

int qipButton_X::deactivate()
{
    _status = qipGadget_Off;
    if (!_base)
        return -1;
    XtSetSensitive(_base, False);
    return 0;
}

void qipButton_X::setLabel(const char* label)
{
    char* copy = label ? strdup(label) : nullptr;
    free(_label);
    _label = copy;
}

void qipButton_X::setImage(char** icon, char** iconDisabled)
{
    if (icon) {
        delete _icon;
        _icon = new qipIcon(icon);
    }
    if (iconDisabled) {
        delete _iconDisabled;
        _iconDisabled = new qipIcon(iconDisabled);
    }
}

bool qipButton_X::isMenuPane(qipVCell* parent)
{
    Widget w = parent ? parent->clientArea() : nullptr;
    if (!w || !XmIsRowColumn(w))
        return false;
    unsigned char type = XmWORK_AREA;
    XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
    return type == XmMENU_PULLDOWN || type == XmMENU_POPUP;
}

XmString qipButton_X::labelString(const char* text) const
{
    // Menu entries use the menu's font like the entries around them.
    const char* tag = _inMenu ? XmFONTLIST_DEFAULT_TAG : "FNT_BUTTON_LBL";
    return XmStringCreate(const_cast<char*>(text ? text : ""), const_cast<char*>(tag));
}

void qipButton_X::install(qipVCell* parent)
{
    assert(parent != 0);
    _inMenu = isMenuPane(parent);
    _base = XtVaCreateManagedWidget(_name, xmPushButtonWidgetClass, parent->clientArea(), nullptr);
    _clientArea = _base;
    // A menu entry reads its label; a pixmap entry is only used without one.
    bool pixmap = !(_inMenu && _label) && showIcons(_base);
    if (_label && !pixmap) {
        XmString s = labelString(_label);
        XtVaSetValues(_base, XmNlabelType, XmSTRING, XmNlabelString, s, nullptr);
        XmStringFree(s);
    }
    installDestroyHandler();
    finishInstall(_base);
}

bool qipButton_X::showIcons(Widget button)
{
    bool shown = false;
    if (_icon) {
        _icon->install(button);
        if (_icon->image()) {
            XtVaSetValues(button, XmNlabelType, XmPIXMAP, XmNlabelPixmap, _icon->image(), XmNrecomputeSize, True,
                          nullptr);
            shown = true;
        }
    }
    if (_iconDisabled) {
        _iconDisabled->install(button);
        if (_iconDisabled->image())
            XtVaSetValues(button, XmNlabelInsensitivePixmap, _iconDisabled->image(), nullptr);
    }
    return shown;
}

void qipButton_X::finishInstall(Widget button)
{
    _button = button;
    XtAddCallback(_button, XmNactivateCallback, activate_cbk, this);
    bool off = _status == qipGadget_Off || (_client && _client->status() == qipGadget_Off);
    if (off)
        XtSetSensitive(_base, False);
}

void qipButton_X::destroyed()
{
    _button = nullptr;
    qipVCell::destroyed();
}

void qipButton_X::activate_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<qipButton_X*>(clientData)->pressed();
}

void qipButton_X::pressed()
{
    // An engine whose sensor has gone has nobody to tell.
    if (_client)
        triggerSensor();
}
