#include "qip/Components/qipTButton_X.h"

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>

#include <cassert>
#include <string>

#include "qip/Components/qipIcon.h"

void qipTButton_X::install(qipVCell* parent)
{
    assert(parent != 0);
    if (!_icon || !_label || isMenuPane(parent)) {
        qipButton_X::install(parent);
        return;
    }
    _inMenu = false;
    _base = XtVaCreateManagedWidget(_name, xmFormWidgetClass, parent->clientArea(), nullptr);
    _clientArea = _base;
    std::string buttonName = std::string(_name) + "_button";
    std::string labelName = std::string(_name) + "_label";
    Widget button = XtVaCreateManagedWidget(buttonName.c_str(), xmPushButtonWidgetClass, _base, XmNtopAttachment,
                                            XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment,
                                            XmATTACH_FORM, nullptr);
    if (!showIcons(button)) {
        // No pixmap could be made: the button still has to say what it does.
        XmString s = labelString(_label);
        XtVaSetValues(button, XmNlabelString, s, nullptr);
        XmStringFree(s);
    }
    XmString s = labelString(_label);
    _lblArea = XtVaCreateManagedWidget(labelName.c_str(), xmLabelWidgetClass, _base, XmNlabelString, s,
                                       XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, button, XmNleftAttachment,
                                       XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
    XmStringFree(s);
    installDestroyHandler();
    finishInstall(button);
}

void qipTButton_X::updateLabel(const char* label)
{
    setLabel(label);
    showLabel(_label);
}

void qipTButton_X::showLabel(const char* text)
{
    Widget target = _lblArea;
    if (!target) {
        // A plain button shows its label only when it is not a pixmap button.
        unsigned char type = XmPIXMAP;
        if (_button)
            XtVaGetValues(_button, XmNlabelType, &type, nullptr);
        if (type != XmSTRING)
            return;
        target = _button;
    }
    XmString s = labelString(text);
    XtVaSetValues(target, XmNlabelString, s, nullptr);
    XmStringFree(s);
}

void qipTButton_X::destroyed()
{
    _lblArea = nullptr;
    qipButton_X::destroyed();
}
