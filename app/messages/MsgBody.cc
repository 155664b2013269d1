#include "app/messages/MsgBody.h"

#include <Xm/Xm.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipWidgetDump.h"

qipTranslationRecords<MsgBody> MsgBody::_records;

static const char bodyTranslations[] =
    "<Btn1Down>: MsgBdyfocus(click) ManagerGadgetArm()\n"
    "<Btn1Up>(2+): display() ManagerGadgetActivate()\n"
    "<FocusIn>: MsgBdyfocus(In)\n"
    "<FocusOut>: MsgBdyfocus(Out)\n"
    "<Key>Return: display() ManagerGadgetKeyInput()\n"
    "<Key>space: display() ManagerGadgetKeyInput()";

static const char beginMarker[] = "<BEGINSTACKTRACE>";
static const char endMarker[] = "<ENDSTACKTRACE>";

MsgBody::MsgBody(const char* name) : qipTCanvas(name), _body(nullptr), _lineCount(0) {}

MsgBody::~MsgBody()
{
    _records.forget(this);
    if (drawingArea())
        qipForgetWidget(drawingArea());
    wipe();
}

void MsgBody::install(qipVCell* parent)
{
    setFont("Fixed");
    resizeCanvas(90, 1);
    viewSize(90, 10);
    qipTCanvas::install(parent);
    setTextColor("Black");
    installHelpHandler();

    Widget area = drawingArea();
    assert(area != 0);
    static bool actionsAdded = false;
    if (!actionsAdded) {
        static XtActionsRec actions[] = {{const_cast<char*>("display"), dclick1_cbk},
                                         {const_cast<char*>("MsgBdyfocus"), focus_cbk}};
        XtAppAddActions(XtWidgetToApplicationContext(area), actions, XtNumber(actions));
        actionsAdded = true;
    }
    XtOverrideTranslations(area, XtParseTranslationTable(bodyTranslations));
    XtVaSetValues(area, XmNtraversalOn, True, nullptr);
    _records.add(area, this);
    qipDescribeWidget(area, describe, this);

    Pixel parentBg = 0;
    XtVaGetValues(XtParent(area), XmNbackground, &parentBg, nullptr);
    XtVaSetValues(area, XmNbackground, parentBg, XmNborderWidth, 2, XmNborderColor, parentBg, nullptr);
    _bg = parentBg;
}

void MsgBody::destroyed()
{
    _records.forget(this);
    if (drawingArea())
        qipForgetWidget(drawingArea());
    qipTCanvas::destroyed();
}

void MsgBody::helpRequested() const { HelpWindow::showHelpOn("messages"); }

void MsgBody::wipe()
{
    while (MsgLine* l = _lines.first()) {
        _lines.remove(l);
        delete l;
    }
    free(_body);
    _body = nullptr;
    _lineCount = 0;
}

void MsgBody::newBody(const char* body)
{
    wipe();
    int widest = 1;
    if (body && (_body = strdup(body)) != nullptr) {
        bool inTrace = false;
        char* line = _body;
        for (;;) {
            char* end = strchr(line, '\n');
            if (end)
                *end = '\0';
            ++_lineCount;
            MsgLine* shown = nullptr;
            if (!inTrace) {
                if (strncmp(line, beginMarker, 17) == 0)
                    inTrace = true;
                else
                    shown = new MsgLine(line);
            } else if (strncmp(line, endMarker, 14) == 0) {
                inTrace = false;
            } else {
                shown = new TraceLine(line);
            }
            if (shown) {
                _lines.append(shown);
                int w = static_cast<int>(strlen(shown->_text));
                if (w > widest)
                    widest = w;
            }
            if (!end)
                break;
            line = end + 1;
        }
    }
    resizeCanvas(widest + 2, _lineCount);
    vertScroll(0);
    render();
}

void MsgBody::refresh(Drawable d, qipView view)
{
    int offset = (_vPixels - _Ypxls) / 2 + _baseline;
    XSetFont(_display, _gc, _font);
    XSetForeground(_display, _gc, _textColor);
    List<MsgLine*>::Link* l = _lines.head();
    for (int skip = view._y; l && skip > 0; --skip)
        l = _lines.after(l);
    for (int i = 0; l && i < view._dy; ++i, l = _lines.after(l)) {
        const char* text = l->_datum->_text;
        int len = static_cast<int>(strlen(text));
        if (len > view._x)
            XDrawString(_display, d, _gc, 3, i * _vPixels + offset, text + view._x, len - view._x);
    }
}

// The visible lines as text, for the widget dump; stack-trace lines are
// marked with '~'.
void MsgBody::describe(void* self, FILE* out)
{
    MsgBody* b = static_cast<MsgBody*>(self);
    fprintf(out, "| view %d %d lines %d cell %d %d\n", b->_view._y, b->_view._dy, b->_lines.length(), b->_hPixels,
            b->_vPixels);
    List<MsgLine*>::Link* l = b->_lines.head();
    for (int skip = b->_view._y; l && skip > 0; --skip)
        l = b->_lines.after(l);
    for (int i = 0; l && i < b->_view._dy; ++i, l = b->_lines.after(l))
        fprintf(out, "| %c %s\n", dynamic_cast<TraceLine*>(l->_datum) ? '~' : ' ', l->_datum->_text);
}

void MsgBody::activate(int y)
{
    int line = y / _vPixels + _view._y;
    if (MsgLine* l = _lines.at(line))
        l->activate();
}

void MsgBody::focus_cbk(Widget w, XEvent*, String* params, Cardinal* n)
{
    MsgBody* b = _records.find(w);
    if (!b) {
        fprintf(stderr, " **** MsgBody::focus_cbk() : unknown client!\n");
        return;
    }
    const char* how = n && *n > 0 ? params[0] : "";
    if (strcmp(how, "In") == 0 || strcmp(how, "Out") == 0) {
        b->focusBorder(strcmp(how, "In") == 0);
    } else if (strcmp(how, "click") == 0) {
        // A click gives the pane the keyboard, so that Return opens a line.
        XmProcessTraversal(w, XmTRAVERSE_CURRENT);
    }
}

void MsgBody::dclick1_cbk(Widget w, XEvent* e, String*, Cardinal*)
{
    MsgBody* b = _records.find(w);
    if (!b) {
        fprintf(stderr, " **** MsgBody::dclick1_cbk() : unknown client!\n");
        return;
    }
    int y = 0;
    if (e && (e->type == ButtonPress || e->type == ButtonRelease))
        y = e->xbutton.y;
    else if (e && (e->type == KeyPress || e->type == KeyRelease))
        y = e->xkey.y;
    b->activate(y);
}
