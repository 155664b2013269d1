#include "qip/Components/qipWindow.h"

#include <X11/Shell.h>
#include <Xm/MainW.h>
#include <Xm/Xm.h>

#include <cassert>

#include "qip/Components/qipApplication.h"

qipWindow::qipWindow(const char* name) : qipVCell(name), _main(nullptr), _workArea(nullptr)
{
    assert(theApplication != 0);
    theApplication->registerWindow(this);
}

qipWindow::~qipWindow()
{
    if (theApplication)
        theApplication->unregisterWindow(this);
}

void qipWindow::initialize()
{
    _base = XtVaCreatePopupShell(_name, applicationShellWidgetClass, theApplication->baseWidget(),
                                 XmNallowShellResize, True, nullptr);
    installDestroyHandler();
    _main = XtVaCreateManagedWidget("aWindow", xmMainWindowWidgetClass, _base, nullptr);
    _clientArea = _main;
    _workArea = createWorkArea(_main);
    assert(_workArea != 0);
    XtVaSetValues(_main, XmNworkWindow, _workArea, nullptr);
    if (!XtIsManaged(_workArea))
        XtManageChild(_workArea);
}

void qipWindow::manage()
{
    assert(_base != 0);
    XtPopup(_base, XtGrabNone);
    if (XtIsRealized(_base))
        XRaiseWindow(XtDisplay(_base), XtWindow(_base));
}

void qipWindow::unmanage()
{
    assert(_base != 0);
    XtPopdown(_base);
}

void qipWindow::close() { unmanage(); }

void qipWindow::iconify()
{
    assert(_base != 0);
    XtVaSetValues(_base, XmNiconic, True, nullptr);
    if (XtIsRealized(_base))
        XIconifyWindow(XtDisplay(_base), XtWindow(_base), 0);
}
