#include "qip/Common/HelpButtons.h"

#include <X11/cursorfont.h>
#include <Xm/Xm.h>

#include <cassert>
#include <cstdio>
#include <string>

#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipApplication.h"
#include "qip/Components/qipWindow.h"

void HMenuBtn::triggered() { HelpWindow::showHelpOn(name()); }

void HMenuBtn::helpRequested() const { HelpWindow::showHelpOn(name()); }

static std::string aboutLabel()
{
    const char* app = theApplication && theApplication->name() ? theApplication->name() : "";
    std::string name = app;
    // The application's name is its X class, written in lower case.
    if (!name.empty())
        name[0] = static_cast<char>(toupper(static_cast<unsigned char>(name[0])));
    return "About " + name + "...";
}

AboutBtn::AboutBtn() : qipTButton("aboutBtn", aboutLabel().c_str()) {}

void AboutBtn::triggered() { HelpWindow::showHelpOn("about"); }

void AboutBtn::helpRequested() const { HelpWindow::showHelpOn("about"); }

HelpBtn::HelpBtn(qipVCell* context, const char* label, char** icon, char** iconDisabled)
    : qipTButton("helpBtn", label, icon, iconDisabled), _cursor(0), _context(context)
{
}

void HelpBtn::triggered()
{
    if (!_context || !_context->baseWidget())
        return;
    Widget where = _context->baseWidget();
    if (!_cursor)
        _cursor = XCreateFontCursor(XtDisplay(where), XC_question_arrow);
    assert(_cursor != 0);
    XEvent event;
    Widget picked = XmTrackingEvent(where, _cursor, True, &event);
    if (!picked)
        return;
    // The nearest enclosing widget that a cell gave a help handler answers.
    for (Widget w = picked; w; w = XtParent(w)) {
        if (XtHasCallbacks(w, XmNhelpCallback) == XtCallbackHasSome) {
            XmAnyCallbackStruct cbs;
            cbs.reason = XmCR_HELP;
            cbs.event = &event;
            XtCallCallbacks(w, XmNhelpCallback, &cbs);
            return;
        }
    }
}

void HelpBtn::helpRequested() const { HelpWindow::showHelpOn("overview"); }

CloseBtn::CloseBtn(qipWindow* client, const char* label) : qipTButton("closeBtn", label), _client(client) {}

void CloseBtn::triggered()
{
    if (_client)
        _client->close();
}
