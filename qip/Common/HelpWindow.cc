#include "qip/Common/HelpWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Xm.h>

#include <cstdio>

#include "options/options.h"
#include "qip/Components/qipApplication.h"

HelpWindow* HelpWindow::_theHelpWindow = nullptr;

static std::string theLastTopic;

HelpWindow::HelpWindow(const char* name)
    : qipWindow(name), _toolbar("toolBar"), _closeGroup("closeGroup"), _closeBtn(this), _viewer("fileViewer"),
      _focusPending(false)
{
}

HelpWindow::~HelpWindow()
{
    if (_theHelpWindow == this)
        _theHelpWindow = nullptr;
    if (_base) {
        XtDestroyWidget(_base);
    }
}

HelpWindow* HelpWindow::initializeInstance()
{
    // A window whose widgets were destroyed is of no use any more.
    if (_theHelpWindow && !_theHelpWindow->baseWidget()) {
        delete _theHelpWindow;
        _theHelpWindow = nullptr;
    }
    if (!_theHelpWindow && theApplication && theApplication->baseWidget()) {
        _theHelpWindow = new HelpWindow("Help");
        _theHelpWindow->initialize();
        _theHelpWindow->placeBesideOtherWindow();
    }
    return _theHelpWindow;
}


std::string HelpWindow::helpPath(const char* topic)
{
    if (!topic || !*topic || !theApplication || !theApplication->name())
        return "";
    const char* home = tvopt::find_quentar_home();
    if (!home || !*home)
        return "";
    return std::string(home) + "/" + theApplication->name() + "/help/" + topic + ".hlp";
}

void HelpWindow::showHelpOn(const char* topic)
{
    if (!topic || !*topic)
        return;
    theLastTopic = topic;
    std::string path = helpPath(topic);
    if (path.empty())
        return;
    HelpWindow* window = initializeInstance();
    if (!window)
        return;
    window->manage();
    window->_viewer.display(path.c_str(), 1);
    if (!window->_viewer.browser().isOpen())
        fprintf(stderr, " *** HelpWindow::showHelpOn: cannot read %s\n", path.c_str());
}

const char* HelpWindow::lastTopic() { return theLastTopic.empty() ? nullptr : theLastTopic.c_str(); }

void HelpWindow::initialize()
{
    qipWindow::initialize();
    // The window manager's close button hides the window like Close does.
    catchClose();
}

Widget HelpWindow::createWorkArea(Widget parent)
{
    _clientArea = parent;
    Widget frame = XtVaCreateManagedWidget("outerframe", xmFrameWidgetClass, parent, XmNmarginWidth, 0,
                                           XmNmarginHeight, 0, XmNshadowType, XmSHADOW_OUT, nullptr);
    Widget form = XtVaCreateManagedWidget("workarea", xmFormWidgetClass, frame, XmNmarginWidth, 5, XmNmarginHeight,
                                          5, nullptr);
    _clientArea = form;

    _toolbar.install(this);
    _closeGroup.addTool(&_closeBtn);
    _toolbar.addGroup(&_closeGroup);
    _viewer.install(this);

    XtVaSetValues(_toolbar.baseWidget(), XmNtopAttachment, XmATTACH_FORM, nullptr);
    XtVaSetValues(_viewer.baseWidget(), XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, _toolbar.baseWidget(),
                  XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment,
                  XmATTACH_FORM, nullptr);
    return frame;
}

void HelpWindow::manage()
{
    qipWindow::manage();
    takeFocus();
}

void HelpWindow::destroyed()
{
    _focusPending = false;
    qipWindow::destroyed();
}

void HelpWindow::takeFocus()
{
    if (!_base || !XtIsRealized(_base))
        return;
    Display* d = XtDisplay(_base);
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, XtWindow(_base), &a) || a.map_state != IsViewable) {
        _focusPending = true;
        return;
    }
    _focusPending = false;
    XSetInputFocus(d, XtWindow(_base), RevertToParent, CurrentTime);
    if (_viewer.drawingArea())
        XmProcessTraversal(_viewer.drawingArea(), XmTRAVERSE_CURRENT);
}

void HelpWindow::mapped()
{
    if (_focusPending)
        takeFocus();
}


