#include "app/shell/LmxStsBar.h"

#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>

#include <cstdio>

#include "qip/Common/HelpWindow.h"

LmxStsBar* theStatusBar = nullptr;

static void setCount(Widget label, const char* what, int n)
{
    if (!label)
        return;
    char text[64];
    if (n == 0)
        snprintf(text, sizeof text, " %s: None ", what);
    else
        snprintf(text, sizeof text, " %s: %-4d ", what, n);
    XmString s = XmStringCreate(text, const_cast<char*>("FNT_STATUSBAR_LBL"));
    XtVaSetValues(label, XmNlabelString, s, nullptr);
    XmStringFree(s);
}

void LmxStsBar::install(qipVCell* parent)
{
    StatusBar::install(parent);
    Widget msgFrame = XtVaCreateManagedWidget("msgFrame", xmFrameWidgetClass, _base, XmNshadowType,
                                              XmSHADOW_ETCHED_IN, XmNrightAttachment, XmATTACH_FORM,
                                              XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment,
                                              XmATTACH_FORM, nullptr);
    nMsgLbl = XtVaCreateManagedWidget("msgLbl", xmLabelWidgetClass, msgFrame, nullptr);
    Widget conFrame = XtVaCreateManagedWidget("conFrame", xmFrameWidgetClass, _base, XmNshadowType,
                                              XmSHADOW_ETCHED_IN, XmNrightAttachment, XmATTACH_WIDGET,
                                              XmNrightWidget, msgFrame, XmNrightOffset, 5, XmNtopAttachment,
                                              XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    nConLbl = XtVaCreateManagedWidget("conLbl", xmLabelWidgetClass, conFrame, nullptr);
    nMessages(0);
    nConnections(0);
}

void LmxStsBar::destroyed()
{
    nConLbl = nMsgLbl = nullptr;
    StatusBar::destroyed();
}

void LmxStsBar::nMessages(int n)
{
    _nMsg = n;
    setCount(nMsgLbl, "Messages", n);
}

void LmxStsBar::nConnections(int n)
{
    _nCon = n;
    setCount(nConLbl, "Connections", n);
}

void LmxStsBar::helpRequested() const { HelpWindow::showHelpOn("overview"); }
