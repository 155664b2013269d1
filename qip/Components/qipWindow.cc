#include "qip/Components/qipWindow.h"

#include <X11/Shell.h>
#include <Xm/MainW.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <cassert>

#include "qip/Components/qipApplication.h"
#include "qip/Support/List.h"

qipWindow::qipWindow(const char* name) : qipVCell(name), _main(nullptr), _workArea(nullptr), _closeCaught(false)
{
    assert(theApplication != 0);
    theApplication->registerWindow(this);
}

static Atom deleteWindowAtom(Widget w)
{
    return XmInternAtom(XtDisplay(w), const_cast<char*>("WM_DELETE_WINDOW"), False);
}

qipWindow::~qipWindow()
{
    if (_base && _closeCaught)
        XmRemoveWMProtocolCallback(_base, deleteWindowAtom(_base), close_cbk, this);
    if (_base)
        XtRemoveEventHandler(_base, StructureNotifyMask, False, structure_evh, this);
    if (theApplication)
        theApplication->unregisterWindow(this);
}

void qipWindow::initialize()
{
    _base = XtVaCreatePopupShell(_name, applicationShellWidgetClass, theApplication->baseWidget(),
                                 XmNallowShellResize, True, nullptr);
    installDestroyHandler();
    XtAddEventHandler(_base, StructureNotifyMask, False, structure_evh, this);
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

void qipWindow::catchClose()
{
    assert(_base != 0);
    XtVaSetValues(_base, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    XmAddWMProtocolCallback(_base, deleteWindowAtom(_base), close_cbk, this);
    _closeCaught = true;
}

void qipWindow::close_cbk(Widget, XtPointer clientData, XtPointer) { static_cast<qipWindow*>(clientData)->closeRequested(); }

void qipWindow::placeBesideOtherWindow()
{
    Widget other = nullptr;
    for (ListIterator<qipWindow*> it(theApplication->windows()); it.valid() && !other; it.next())
        if (it.current() != this && it.current()->baseWidget() && XtIsRealized(it.current()->baseWidget()))
            other = it.current()->baseWidget();
    if (!other || !_base)
        return;
    Display* d = XtDisplay(other);
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, XtWindow(other), &a) || a.map_state != IsViewable)
        return;
    Window child;
    int x, y;
    XTranslateCoordinates(d, XtWindow(other), a.root, 0, 0, &x, &y, &child);
    XtRealizeWidget(_base);
    Dimension width = 0, height = 0;
    XtVaGetValues(_base, XmNwidth, &width, XmNheight, &height, nullptr);
    int gap = 8 + 2 * a.border_width;
    int screenWidth = WidthOfScreen(a.screen), screenHeight = HeightOfScreen(a.screen);
    int left = screenWidth - width, top = screenHeight - height;
    if (x + a.width + gap + width <= screenWidth) {
        left = x + a.width + gap;
        top = y;
    } else if (y + a.height + gap + height <= screenHeight) {
        left = x;
        top = y + a.height + gap;
    }
    XtVaSetValues(_base, XmNx, static_cast<Position>(left < 0 ? 0 : left), XmNy,
                  static_cast<Position>(top < 0 ? 0 : top), nullptr);
}

void qipWindow::structure_evh(Widget, XtPointer clientData, XEvent* event, Boolean*)
{
    if (event->type == MapNotify)
        static_cast<qipWindow*>(clientData)->mapped();
}
