#include "app/messages/MsgHeaders.h"

#include <Xm/Xm.h>

#include <cassert>
#include <initializer_list>
#include <cstdio>
#include <cstring>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/messages/Icons.h"
#include "app/sessions/StatusView.h"
#include "app/messages/MsgArea.h"
#include "app/sessions/NetClient.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipColor.h"
#include "qip/Components/qipWidgetDump.h"

qipTranslationRecords<MsgHeaders> MsgHeaders::_records;

static const char headerTranslations[] =
    "<Btn1Down>: click() ManagerGadgetArm()\n"
    "<Btn1Up>(2+): select() ManagerGadgetActivate()\n"
    "<Btn1Up>: ManagerGadgetActivate()\n"
    "<FocusIn>: MsgHdrfocus(In)\n"
    "<FocusOut>: MsgHdrfocus(Out)\n"
    "<Key>Return: select() ManagerGadgetKeyInput()\n"
    "<Key>space: select() ManagerGadgetKeyInput()\n"
    "<Key>osfDelete: remove() ManagerGadgetKeyInput()\n"
    "<Key>osfBackSpace: remove() ManagerGadgetKeyInput()\n"
    "<Key>osfUp: prev() ManagerGadgetKeyInput()\n"
    "<Key>k: prev() ManagerGadgetKeyInput()\n"
    "<Key>osfDown: next() ManagerGadgetKeyInput()\n"
    "<Key>j: next() ManagerGadgetKeyInput()\n"
    "Meta<Key>l: load() ManagerGadgetKeyInput()\n"
    "Meta<Key>s: save() ManagerGadgetKeyInput()";

MsgHeaders::MsgHeaders(const char* name, MsgArea* owner)
    : qipTCanvas(name),
      _clicked(0),
      _owner(owner),
      _cursor(owner ? &owner->clients() : nullptr),
      _selMsgBg(0),
      _conBg(0),
      _selConBg(0),
      _zxImg(Icons::zx()),
      _bugImg(Icons::bug()),
      _leakImg(Icons::leak()),
      _signalImg(Icons::signal()),
      _summaryImg(Icons::summary()),
      _activeImg(Icons::active()),
      _renderWork(0),
      _renderTimer(0),
      _linesValid(false)
{
}

MsgHeaders::~MsgHeaders()
{
    cancelPendingRender();
    _records.forget(this);
    if (drawingArea())
        qipForgetWidget(drawingArea());
}

void MsgHeaders::install(qipVCell* parent)
{
    setFont("Fixed");
    setCellSize(_Xpxls, _Ypxls * 16 / 9);
    resizeCanvas(Columns, 1);
    viewSize(Columns, ViewLines);
    qipTCanvas::install(parent);
    setTextColor("Black");
    installHelpHandler();

    Widget area = drawingArea();
    assert(area != 0);
    XtAppContext context = XtWidgetToApplicationContext(area);
    static bool actionsAdded = false;
    if (!actionsAdded) {
        static XtActionsRec actions[] = {
            {const_cast<char*>("click"), click1_cbk},        {const_cast<char*>("select"), dclick1_cbk},
            {const_cast<char*>("remove"), deleteKey_cbk},    {const_cast<char*>("next"), nextKey_cbk},
            {const_cast<char*>("prev"), prevKey_cbk},        {const_cast<char*>("load"), load_cbk},
            {const_cast<char*>("save"), save_cbk},           {const_cast<char*>("MsgHdrfocus"), focus_cbk},
        };
        XtAppAddActions(context, actions, XtNumber(actions));
        actionsAdded = true;
    }
    XtOverrideTranslations(area, XtParseTranslationTable(headerTranslations));
    XtVaSetValues(area, XmNtraversalOn, True, nullptr);
    _records.add(area, this);
    qipDescribeWidget(area, describe, this);

    takeParentBackground();
    _selMsgBg = makeColorPixel(area, "Gray80", 0);
    _conBg = makeColorPixel(area, "LightSkyBlue3", 0);
    _selConBg = makeColorPixel(area, "LightSteelBlue2", 0);
    for (qipIcon* icon : {&_zxImg, &_bugImg, &_leakImg, &_signalImg, &_summaryImg, &_activeImg})
        icon->install(area);
}

void MsgHeaders::takeParentBackground()
{
    Widget area = drawingArea();
    Pixel parentBg = 0;
    XtVaGetValues(XtParent(area), XmNbackground, &parentBg, nullptr);
    XtVaSetValues(area, XmNbackground, parentBg, XmNborderWidth, 2, XmNborderColor, parentBg, nullptr);
    _bg = parentBg;
}

void MsgHeaders::destroyed()
{
    cancelPendingRender();
    _records.forget(this);
    if (drawingArea())
        qipForgetWidget(drawingArea());
    qipTCanvas::destroyed();
}

void MsgHeaders::helpRequested() const { HelpWindow::showHelpOn("messages"); }

const char* MsgHeaders::lineText(NetClient* client, NetMsg* item)
{
    if (item)
        return item->id();
    // The trash can has no sign-on record: its line is its own tag.
    return client ? client->header() : "";
}

qipIcon* MsgHeaders::iconFor(const ErrorMsg* m)
{
    const char* category = m->_errorCategory.text();
    if (strncmp(category, "LEAK_", 5) == 0)
        return &_leakImg;
    if (strncmp(category, "EffC++", 6) == 0)
        return &_zxImg;
    if (strstr(category, "trapped"))
        return &_signalImg;
    if (strstr(category, "summary"))
        return &_summaryImg;
    return &_bugImg;
}

const char* MsgHeaders::iconName(const ErrorMsg* m)
{
    qipIcon* icon = iconFor(m);
    return icon == &_leakImg ? "leak"
           : icon == &_zxImg ? "zx"
           : icon == &_signalImg ? "signal"
           : icon == &_summaryImg ? "summary"
           : "bug";
}

// The visible lines as text, for the widget dump: the selected line is
// marked with '>', and each line names its icon.
void MsgHeaders::describe(void* self, FILE* out)
{
    MsgHeaders* h = static_cast<MsgHeaders*>(self);
    const qipView& v = h->_view;
    fprintf(out, "| view %d %d canvas %d %d selected %d cell %d %d\n", v._y, v._dy, h->_canvasWidth,
            h->_canvasHeight, h->_cursor._pos, h->_hPixels, h->_vPixels);
    if (!h->_owner || !h->_owner->hasClients())
        return;
    const std::vector<Line>& all = h->lines();
    for (int i = 0; i < v._dy && v._y + i < static_cast<int>(all.size()); ++i) {
        const Line& l = all[v._y + i];
        bool selected = l.item == h->_cursor._msg && l.client == h->_cursor.client();
        const char* icon = l.index == 0 ? (l.client->_status != NetClient::Disconnected ? "active" : "-")
                                        : h->iconName(static_cast<ErrorMsg*>(l.item));
        fprintf(out, "| %c %s %s\n", selected ? '>' : ' ', icon, lineText(l.client, l.item));
    }
}

void MsgHeaders::annotate(ErrorMsg* m, Drawable d, int line) { iconFor(m)->render(d, IconX, line * _vPixels + IconY); }

void MsgHeaders::annotate(NetClient* c, Drawable d, int line)
{
    if (c->_status != NetClient::Disconnected)
        _activeImg.render(d, IconX, line * _vPixels + IconY);
}

const std::vector<MsgHeaders::Line>& MsgHeaders::lines()
{
    if (_linesValid || !_owner)
        return _lines;
    _lines.clear();
    _lineOf.clear();
    const List<NetClient*>& clients = _owner->clients();
    for (List<NetClient*>::Link* cl = clients.head(); cl; cl = clients.after(cl)) {
        NetClient* c = cl->_datum;
        _lines.push_back(Line{c, cl, c->_signature, 0});
        if (c->_signature)
            _lineOf[c->_signature] = static_cast<int>(_lines.size()) - 1;
        int k = 1;
        for (List<ErrorMsg*>::Link* ml = c->_messages.head(); ml; ml = c->_messages.after(ml), ++k) {
            if (ml->_datum->_suppressed == Yes)
                continue;
            _lineOf[ml->_datum] = static_cast<int>(_lines.size());
            _lines.push_back(Line{c, cl, ml->_datum, k});
        }
    }
    _linesValid = true;
    return _lines;
}

bool MsgHeaders::placeCursor(int p)
{
    const std::vector<Line>& all = lines();
    if (p < 0 || p >= static_cast<int>(all.size()))
        return false;
    const Line& l = all[p];
    _cursor._client.set(l.clientLink);
    _cursor._pos = p;
    _cursor._index = l.index;
    _cursor._msg = l.item;
    return true;
}

int MsgHeaders::cursorLine()
{
    const std::vector<Line>& all = lines();
    if (!_cursor.client())
        return -1;
    if (!_cursor._msg) {
        // Only the trash can's own line has no item.
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].client == _cursor.client() && all[i].index == 0)
                return static_cast<int>(i);
        return -1;
    }
    auto it = _lineOf.find(_cursor._msg);
    return it == _lineOf.end() ? -1 : it->second;
}

void MsgHeaders::refresh(Drawable d, qipView view)
{
    if (!_owner || !_owner->hasClients())
        return;
    int offset = (_vPixels - _Ypxls) / 2 + _baseline;
    XSetFont(_display, _gc, _font);
    XSetForeground(_display, _gc, _textColor);
    const std::vector<Line>& all = lines();
    if (view._y < 0 || view._y >= static_cast<int>(all.size())) {
        fprintf(stderr, " *** MsgHeaders::refresh: negative locate\n");
        return;
    }
    for (int i = 0; i < view._dy && view._y + i < static_cast<int>(all.size()); ++i) {
        const Line& l = all[view._y + i];
        bool header = l.index == 0;
        bool selected = l.item == _cursor._msg && l.client == _cursor.client();
        if (header || selected) {
            Pixel bg = header ? (selected ? _selConBg : _conBg) : _selMsgBg;
            XSetForeground(_display, _gc, bg);
            XFillRectangle(_display, d, _gc, 0, i * _vPixels, (view._dx + 1) * _hPixels, _vPixels);
            XSetForeground(_display, _gc, _textColor);
        }
        const char* text = lineText(l.client, l.item);
        int len = static_cast<int>(strlen(text));
        if (len > view._x)
            XDrawString(_display, d, _gc, TextColumn * _hPixels, i * _vPixels + offset, text + view._x, len - view._x);
        if (header)
            annotate(l.client, d, i);
        else
            annotate(static_cast<ErrorMsg*>(l.item), d, i);
    }
}

int MsgHeaders::select(int y)
{
    _clicked = 1;
    int line = y / _vPixels + _view._y;
    if (!placeCursor(line))
        return -1;
    newSelection();
    render();
    return 0;
}

int MsgHeaders::activate()
{
    if (!_clicked)
        return -1;
    _clicked = 0;
    if (_cursor._msg)
        _cursor._msg->activate();
    return 0;
}

void MsgHeaders::newSelection()
{
    if (!_owner)
        return;
    if (ErrorMsg* m = _cursor.message())
        m->_status = Old;
    NetClient* c = _cursor.client();
    _owner->newSelection(c, _cursor._msg);
    if (c)
        c->newSelection(_cursor._msg);
}

void MsgHeaders::keepInView(int p)
{
    if (p < 0)
        return;
    if (p >= _view._y + _view._dy)
        vertIScroll(p - (_view._y + _view._dy) + 1);
    else if (p < _view._y)
        vertScroll(p);
}

int MsgHeaders::next()
{
    int here = cursorLine();
    int p = here >= 0 ? (placeCursor(here + 1) ? here + 1 : -1) : _cursor.next();
    if (p < 0)
        return -1;
    if (ErrorMsg* m = _cursor.message())
        m->_status = Old;
    // A keyboard selection counts like a click: Return then opens it.
    _clicked = 1;
    keepInView(p);
    newSelection();
    render();
    return 0;
}

int MsgHeaders::prev()
{
    // In front of the first real client's line lies the trash can: the
    // cursor goes back to the top rather than into the trash can's messages.
    int here = cursorLine();
    NetClient* before = _cursor._client.peekPrev();
    bool toTop = _cursor._index <= 0 && (!before || before->_id == 0);
    int p = here >= 0 && !toTop ? (placeCursor(here - 1) ? here - 1 : -1) : _cursor.prev();
    if (p < 0)
        return -1;
    _clicked = 1;
    if (p < _view._y || p >= _view._y + _view._dy)
        vertScroll(p);
    newSelection();
    render();
    return 0;
}

int MsgHeaders::remove()
{
    NetClient* c = _cursor.client();
    if (!c || (!_cursor._msg && c != _owner->trashcan()))
        return -1;
    int n = 0;
    bool clientRemoved = false;
    if (ErrorMsg* m = _cursor.message()) {
        _cursor.prev();
        c->_messages.remove(m);
        delete m;
        n = 1;
    } else if (c == _owner->trashcan()) {
        // The trash can itself stays; deleting its line empties it.
        n = c->nShown();
        while (ErrorMsg* m = c->_messages.first()) {
            c->_messages.remove(m);
            delete m;
        }
        c->_nSuppressed = 0;
        _cursor.reset();
    } else {
        if (c->_status != NetClient::Disconnected) {
            StatusView::show("Cannot delete active sessions!");
            return -1;
        }
        n = c->nShown();
        NetClient* follow = _cursor._client.peekPrev();
        if (!follow || follow->_id == 0)
            follow = _cursor._client.peekNext();
        _owner->removeClient(c);
        delete c;
        clientRemoved = true;
        if (follow && follow->_signature)
            _cursor.locate(follow->_signature);
        else
            _cursor.reset();
    }
    invalidateLines();
    resizeCanvas(_canvasWidth, _canvasHeight - n - (clientRemoved ? 1 : 0));
    if (_cursor._msg && (_cursor._pos < _view._y || _cursor._pos >= _view._y + _view._dy))
        vertScroll(_cursor._pos);
    newSelection();
    render();
    // The trash can's messages were never counted.
    if (n > 0 && c != _owner->trashcan())
        _owner->countRemoved(n);
    return n;
}

void MsgHeaders::validateSelection()
{
    invalidateLines();
    _cursor.validateSelection();
    newSelection();
    render();
}

void MsgHeaders::newClient(NetMsg* item)
{
    if (!_cursor.client()) {
        _cursor.reset();
        newSelection();
    }
    if (item) {
        int width = static_cast<int>(strlen(item->id())) + TextColumn;
        if (width > _canvasWidth)
            resizeCanvas(width, _canvasHeight);
    }
    invalidateLines();
    resizeCanvas(_canvasWidth, _canvasHeight + 1);
    scheduleRender();
}

void MsgHeaders::clientSizeAdjust(int n)
{
    invalidateLines();
    resizeCanvas(_canvasWidth, _canvasHeight + n);
    scheduleRender();
}

void MsgHeaders::clientSignedOff(NetClient*) { scheduleRender(); }

void MsgHeaders::recount()
{
    if (!_owner)
        return;
    invalidateLines();
    int count = 0;
    for (ListIterator<NetClient*> it(_owner->clients()); it.valid(); it.next())
        count += 1 + it.current()->nShown();
    resizeCanvas(_canvasWidth, count);
    if (_cursor._msg)
        _cursor.locate(_cursor._msg);
    scheduleRender();
}

void MsgHeaders::scheduleRender()
{
    Widget area = drawingArea();
    if (!area || _renderWork)
        return;
    XtAppContext context = XtWidgetToApplicationContext(area);
    _renderWork = XtAppAddWorkProc(context, render_wp, this);
    // Under a steady stream of input the loop is never idle: redraw anyway.
    _renderTimer = XtAppAddTimeOut(context, 100, render_to, this);
}

void MsgHeaders::cancelPendingRender()
{
    if (_renderWork)
        XtRemoveWorkProc(_renderWork);
    if (_renderTimer)
        XtRemoveTimeOut(_renderTimer);
    _renderWork = 0;
    _renderTimer = 0;
}

void MsgHeaders::renderNow()
{
    cancelPendingRender();
    render();
}

Boolean MsgHeaders::render_wp(XtPointer clientData)
{
    MsgHeaders* h = static_cast<MsgHeaders*>(clientData);
    h->_renderWork = 0;
    h->renderNow();
    return True;
}

void MsgHeaders::render_to(XtPointer clientData, XtIntervalId*)
{
    MsgHeaders* h = static_cast<MsgHeaders*>(clientData);
    h->_renderTimer = 0;
    h->renderNow();
}

void MsgHeaders::focus(const char* how)
{
    if (strcmp(how, "In") == 0 || strcmp(how, "Out") == 0) {
        focusBorder(strcmp(how, "In") == 0);
    } else {
        fprintf(stderr, " **** MsgHeaders::focus_cbk() : unknown action \"%s\"!\n", how);
    }
}

// Each action finds its list through the widget the event happened in.
static MsgHeaders* owner(qipTranslationRecords<MsgHeaders>& records, Widget w, const char* routine)
{
    MsgHeaders* h = records.find(w);
    if (!h)
        fprintf(stderr, " **** MsgHeaders::%s() : unknown client!\n", routine);
    return h;
}

void MsgHeaders::click1_cbk(Widget w, XEvent* e, String*, Cardinal*)
{
    MsgHeaders* h = owner(_records, w, "click1_cbk");
    if (!h)
        return;
    XmProcessTraversal(w, XmTRAVERSE_CURRENT);
    h->select(e && e->type == ButtonPress ? e->xbutton.y : 0);
}

void MsgHeaders::dclick1_cbk(Widget w, XEvent*, String*, Cardinal*)
{
    if (MsgHeaders* h = owner(_records, w, "dclick1_cbk"))
        h->activate();
}

void MsgHeaders::deleteKey_cbk(Widget w, XEvent*, String*, Cardinal*)
{
    if (MsgHeaders* h = owner(_records, w, "deleteKey_cbk"))
        h->_owner->del();
}

void MsgHeaders::nextKey_cbk(Widget w, XEvent*, String*, Cardinal*)
{
    if (MsgHeaders* h = owner(_records, w, "nextKey_cbk"))
        h->next();
}

void MsgHeaders::prevKey_cbk(Widget w, XEvent*, String*, Cardinal*)
{
    if (MsgHeaders* h = owner(_records, w, "prevKey_cbk"))
        h->prev();
}

void MsgHeaders::load_cbk(Widget, XEvent*, String*, Cardinal*) { theMessageContainer->load(); }

void MsgHeaders::save_cbk(Widget, XEvent*, String*, Cardinal*) { theMessageContainer->save(); }

void MsgHeaders::focus_cbk(Widget w, XEvent*, String* params, Cardinal* n)
{
    MsgHeaders* h = owner(_records, w, "focus_cbk");
    if (h)
        h->focus(n && *n > 0 ? params[0] : "");
}
