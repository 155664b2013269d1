#include "qip/Components/qipScrollingList.h"

#include <Xm/Xm.h>

#include <cassert>
#include <cstdio>
#include <cstring>


qipTranslationRecords<qipScrollingList> qipScrollingList::_records;

// Every binding also runs the manager action Motif would have run, so that
// focus, traversal and gadget children keep working.
static const char listTranslations[] =
    "<Btn1Down>: dispatch(select) DrawingAreaInput() ManagerGadgetArm()\n"
    "<Btn1Motion>: dispatch(motion) ManagerGadgetButtonMotion()\n"
    "<Btn1Up>(2+): dispatch(activate) ManagerGadgetActivate()\n"
    "<FocusIn>: dispatch(focusIn) ManagerFocusIn()\n"
    "<FocusOut>: dispatch(focusOut) ManagerFocusOut()\n"
    "<Key>Return: dispatch(activate) ManagerGadgetKeyInput()\n"
    "<Key>space: dispatch(activate) ManagerGadgetKeyInput()\n"
    "<Key>k: dispatch(prev) ManagerGadgetKeyInput()\n"
    "<Key>osfUp: dispatch(prev) ManagerGadgetKeyInput()\n"
    "<Key>j: dispatch(next) ManagerGadgetKeyInput()\n"
    "<Key>osfDown: dispatch(next) ManagerGadgetKeyInput()\n"
    "<Key>osfBackSpace: dispatch(remove) ManagerGadgetKeyInput()\n"
    "<Key>osfDelete: dispatch(remove) ManagerGadgetKeyInput()\n"
    "<Key>osfPageUp: dispatch(pageUp) ManagerGadgetKeyInput()\n"
    "<Key>osfPageDown: dispatch(pageDown) ManagerGadgetKeyInput()";

// The pointer position an event carries; (0, 0) for events without one.
static void eventPosition(const XEvent* e, int& x, int& y)
{
    x = y = 0;
    if (!e)
        return;
    switch (e->type) {
    case ButtonPress:
    case ButtonRelease:
        x = e->xbutton.x;
        y = e->xbutton.y;
        break;
    case KeyPress:
    case KeyRelease:
        x = e->xkey.x;
        y = e->xkey.y;
        break;
    case MotionNotify:
        x = e->xmotion.x;
        y = e->xmotion.y;
        break;
    default:
        break;
    }
}

qipScrollingList::qipScrollingList(const char* name) : qipTCanvas(name), _clicked(0) {}

qipScrollingList::~qipScrollingList() { _records.forget(this); }

void qipScrollingList::install(qipVCell* parent)
{
    qipTCanvas::install(parent);
    Widget area = drawingArea();
    assert(area != 0);
    Pixel parentBg = 0;
    XtVaGetValues(XtParent(area), XmNbackground, &parentBg, nullptr);
    XtVaSetValues(area, XmNborderWidth, 2, XmNborderColor, parentBg, nullptr);
}

void qipScrollingList::destroyed()
{
    _records.forget(this);
    qipTCanvas::destroyed();
}

void qipScrollingList::installDefaultTranslations()
{
    Widget area = drawingArea();
    assert(area != 0);
    static XtAppContext registeredIn = nullptr;
    XtAppContext context = XtWidgetToApplicationContext(area);
    if (registeredIn != context) {
        static XtActionsRec actions[] = {{const_cast<char*>("dispatch"), dispatcher}};
        XtAppAddActions(context, actions, XtNumber(actions));
        registeredIn = context;
    }
    XtOverrideTranslations(area, XtParseTranslationTable(listTranslations));
    _records.add(area, this);
}

void qipScrollingList::dispatcher(Widget w, XEvent* event, String* params, Cardinal* nParams)
{
    qipScrollingList* list = _records.find(w);
    if (!list) {
        fprintf(stderr, " **** qipScrollingList::dispatcher() : unknown client!\n");
        return;
    }
    if (!params || !nParams || *nParams < 1) {
        fprintf(stderr, " *** qipScrollingList::dispatcher: no action given\n");
        return;
    }
    const char* action = params[0];
    int x, y;
    eventPosition(event, x, y);
    if (!strcmp(action, "next"))
        list->next();
    else if (!strcmp(action, "prev"))
        list->prev();
    else if (!strcmp(action, "remove"))
        list->del();
    else if (!strcmp(action, "select"))
        list->selectByPixel(y);
    else if (!strcmp(action, "activate"))
        list->activate(x, y);
    else if (!strcmp(action, "focusIn"))
        list->focus(1);
    else if (!strcmp(action, "focusOut"))
        list->focus(0);
    else if (strcmp(action, "motion") && strcmp(action, "pageUp") && strcmp(action, "pageDown"))
        fprintf(stderr, " *** qipScrollingList::dispatcher: unknown action \"%s\"\n", action);
}

int qipScrollingList::selectByPixel(int y) { return select(_view._y + y / _vPixels); }

int qipScrollingList::select(int)
{
    _clicked = 1;
    return 0;
}

int qipScrollingList::activate(int, int)
{
    if (!_clicked)
        return -1;
    _clicked = 0;
    return 0;
}

int qipScrollingList::next() { return -1; }

int qipScrollingList::prev() { return -1; }

int qipScrollingList::del() { return -1; }

void qipScrollingList::focus(int in) { focusBorder(in != 0); }
