#include "qip/Components/qipToggleBtn_X.h"

#include <cstdlib>
#include <cstring>

#include "qip/Components/qipIcon.h"

static char* copyText(const char* t) { return t ? strdup(t) : nullptr; }

qipToggleBtn_X::qipToggleBtn_X(const char* name, qipButton* client)
    : qipTButton_X(name, client), _state(0), _iconAlt(nullptr), _lblOn(nullptr), _lblOff(nullptr)
{
}

qipToggleBtn_X::~qipToggleBtn_X()
{
    delete _iconAlt;
    free(_lblOn);
    free(_lblOff);
}

void qipToggleBtn_X::setLabels(const char* on, const char* off)
{
    char* onCopy = copyText(on);
    char* offCopy = copyText(off);
    free(_lblOn);
    free(_lblOff);
    _lblOn = onCopy;
    _lblOff = offCopy;
    updateLabel(_lblOn);
}

void qipToggleBtn_X::setImage(char** icon, char** iconOn, char** iconDisabled)
{
    qipButton_X::setImage(icon, iconDisabled);
    if (iconOn) {
        delete _iconAlt;
        _iconAlt = new qipIcon(iconOn);
    }
}

void qipToggleBtn_X::install(qipVCell* parent)
{
    qipTButton_X::install(parent);
    if (_iconAlt && _button)
        _iconAlt->install(_button);
    // A state set before the widgets existed shows now.
    if (_state)
        showState();
}

void qipToggleBtn_X::state(int s)
{
    _state = s;
    showState();
}

void qipToggleBtn_X::showState()
{
    qipIcon* icon = _state ? _iconAlt : _icon;
    if (_button && icon && icon->image()) {
        unsigned char type = XmSTRING;
        XtVaGetValues(_button, XmNlabelType, &type, nullptr);
        if (type == XmPIXMAP)
            XtVaSetValues(_button, XmNlabelPixmap, icon->image(), nullptr);
    }
    const char* text = _state ? _lblOff : _lblOn;
    if (text) {
        setLabel(text);
        showLabel(_label);
    }
}
