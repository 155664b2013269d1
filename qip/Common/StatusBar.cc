#include "qip/Common/StatusBar.h"

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <cstring>

#include "qip/Monitors/qipAppContext.h"
#include "qip/Monitors/qipBasicAlarm_X.h"

StatusBar::StatusBar(const char* name)
    : qipVCell(name), _permMsg(nullptr), _msgArea(nullptr), _timer(this), _timerEngine(nullptr), _shown(strdup(""))
{
    _timerEngine = new qipBasicAlarm_X(&_timer);
    _timer.engine(_timerEngine);
    _timer.setTimer(TimeoutMs);
}

StatusBar::~StatusBar()
{
    _timer.engine(nullptr);
    delete _timerEngine;
    free(_permMsg);
    free(_shown);
}

void StatusBar::install(qipVCell* parent)
{
    _base = XtVaCreateManagedWidget("statusbar_work", xmFormWidgetClass, parent->clientArea(), XmNheight, 20,
                                    nullptr);
    _msgArea = XtVaCreateManagedWidget("messageArea", xmLabelWidgetClass, _base, XmNalignment,
                                       XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment,
                                       XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    _clientArea = _base;
    refresh();
    installHelpHandler();
    installDestroyHandler();
}

void StatusBar::setPermanent(const char* text)
{
    if (!text)
        return;
    free(_permMsg);
    _permMsg = strdup(text);
}

void StatusBar::refresh() { show(_permMsg ? _permMsg : ""); }

void StatusBar::displayMessage(const char* text)
{
    if (!text)
        return;
    // Only a pending timeout is removed; the engine refuses when none is.
    if (_timerEngine->timerId())
        _timer.deactivate();
    show(text);
    // Without an event loop nothing could bring the permanent text back.
    if (qipAppContext())
        _timer.activate();
}

void StatusBar::displayUntilNext(const char* text)
{
    if (!text)
        return;
    // The timeout of an earlier message would take this one down.
    if (_timerEngine->timerId())
        _timer.deactivate();
    show(text);
}

void StatusBar::destroyed()
{
    _msgArea = nullptr;
    qipVCell::destroyed();
}

void StatusBar::show(const char* text)
{
    free(_shown);
    _shown = strdup(text);
    if (!_msgArea)
        return;
    XmString s = XmStringCreate(const_cast<char*>(text), const_cast<char*>("FNT_STATUSBAR_MSG"));
    XtVaSetValues(_msgArea, XmNlabelString, s, nullptr);
    XmStringFree(s);
}
