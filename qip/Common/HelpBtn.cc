#include "qip/Common/HelpBtn.h"

#include <X11/cursorfont.h>
#include <Xm/Xm.h>

#include <cassert>

#include "qip/Common/HelpWindow.h"

HelpBtn::HelpBtn(qipVCell* context, const char* label, char** icon, char** iconDisabled)
    : qipTButton("helpBtn", label, icon, iconDisabled), _cursor(0), _cursorDisplay(nullptr), _context(context)
{
}

HelpBtn::~HelpBtn()
{
    if (_cursor && _cursorDisplay)
        XFreeCursor(_cursorDisplay, _cursor);
}

void HelpBtn::triggered()
{
    if (!_context || !_context->baseWidget())
        return;
    Widget where = _context->baseWidget();
    if (!_cursor) {
        _cursorDisplay = XtDisplay(where);
        _cursor = XCreateFontCursor(_cursorDisplay, XC_question_arrow);
    }
    assert(_cursor != 0);
    XEvent event;
    // Confined to the context window, so the pick is always one of its widgets.
    Widget picked = XmTrackingEvent(where, _cursor, True, &event);
    if (picked)
        helpAt(picked, &event);
}

Widget HelpBtn::helpAt(Widget picked, XEvent* event)
{
    // Only Motif widgets have a help callback list; a shell ends the search.
    for (Widget w = picked; w && !XtIsShell(w); w = XtParent(w)) {
        if (!(XmIsPrimitive(w) || XmIsManager(w) || XmIsGadget(w)))
            continue;
        if (XtHasCallbacks(w, XmNhelpCallback) == XtCallbackHasSome) {
            XmAnyCallbackStruct cbs;
            cbs.reason = XmCR_HELP;
            cbs.event = event;
            XtCallCallbacks(w, XmNhelpCallback, &cbs);
            return w;
        }
    }
    return nullptr;
}

void HelpBtn::helpRequested() const { HelpWindow::showHelpOn("overview"); }
