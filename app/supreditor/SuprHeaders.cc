#include "app/supreditor/SuprHeaders.h"

#include <Xm/Xm.h>

#include <cassert>
#include <cstring>

#include "app/sessions/StatusView.h"
#include "app/suppressions/SuprFile.h"
#include "app/supreditor/SuprIcons.h"
#include "app/supreditor/SuprWinBtn.h"
#include "app/supreditor/SuprWindow.h"
#include "app/suppressions/Suppression.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrMsg.h"
#include "app/sessions/ZxSuppress.h"
#include "app/suppressions/ZxSuprRec.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipColor.h"
#include "qip/Components/qipToolBar.h"
#include "qip/Components/qipWidgetDump.h"

const int SuprHeaders::fieldColumns[] = {3, 7, 14, 21, 49, 0};
const char* const SuprHeaders::columnHeader = "     P   Item   Type   Class                       File";

// A click only selects; a click on the row that already is the cursor's
// edits the clicked field. Keys move the cursor and delete.
static const char suprTranslations[] =
    "<Btn1Down>: dispatch(select) ManagerGadgetArm()\n"
    "<Btn1Up>: dispatch(activate) ManagerGadgetActivate()\n"
    "<FocusIn>: dispatch(focusIn) ManagerFocusIn()\n"
    "<FocusOut>: dispatch(focusOut) ManagerFocusOut()\n"
    "<Key>k: dispatch(prev) ManagerGadgetKeyInput()\n"
    "<Key>osfUp: dispatch(prev) ManagerGadgetKeyInput()\n"
    "<Key>j: dispatch(next) ManagerGadgetKeyInput()\n"
    "<Key>osfDown: dispatch(next) ManagerGadgetKeyInput()\n"
    "<Key>osfBackSpace: dispatch(remove) ManagerGadgetKeyInput()\n"
    "<Key>osfDelete: dispatch(remove) ManagerGadgetKeyInput()";

SuprHeaders::SuprHeaders(const char* name, SuprWindow* win)
    : qipScrollingList(name),
      _editing(0),
      _win(win),
      _cursor(nullptr),
      _client(nullptr),
      _context(nullptr),
      _navTools("navGrp"),
      _editTools("editGrp"),
      _fileTools("fileGrp"),
      _noneImg(SuprIcons::none()),
      _checkImg(SuprIcons::check()),
      _suprImg(SuprIcons::suppress()),
      _unsuprImg(SuprIcons::unsuppress()),
      _suprItemSelector(this),
      _suprSevSelector(this),
      _suprFileSelector(this),
      _suprClassSelector(this),
      _nextBtn(new SuprNext(this)),
      _prevBtn(new SuprPrev(this)),
      _delBtn(new SuprDel(this)),
      _newBtn(new SuprNew(this)),
      _upBtn(new SuprUp(this)),
      _downBtn(new SuprDown(this)),
      _saveBtn(new SuprSave(this)),
      _armed(0),
      _selBg(0),
      _selFg(0),
      _suprBg(0),
      _suprFg(0),
      _hdrBg(0),
      _hdrFg(0),
      _shdDk(0),
      _shdLt(0)
{
    // The cursor comes before the list it walks: it is pointed there now.
    _cursor.sets(&_supr);
    for (auto* b : {&_prevBtn, &_nextBtn, &_newBtn, &_delBtn, &_upBtn, &_downBtn, &_saveBtn})
        _buttons.append(b->get());
}

SuprHeaders::~SuprHeaders()
{
    if (drawingArea())
        qipForgetWidget(drawingArea());
}

void SuprHeaders::install(qipVCell* parent)
{
    setFont("Fixed");
    setCellSize(_Xpxls, _Ypxls * 16 / 9);
    resizeCanvas(Columns, 1);
    viewSize(ViewColumns, ViewLines);
    qipScrollingList::install(parent);
    installHelpHandler();
    Widget area = drawingArea();
    assert(area != 0);
    installDefaultTranslations();
    XtUninstallTranslations(area);
    XtOverrideTranslations(area, XtParseTranslationTable(suprTranslations));
    XtVaSetValues(area, XmNtraversalOn, True, nullptr);
    qipDescribeWidget(area, describe, this);

    Pixel white = makeColorPixel(area, "White", 0);
    XtVaSetValues(area, XmNbackground, white, nullptr);
    _bg = white;
    XtVaGetValues(area, XmNforeground, &_fg, XmNtopShadowColor, &_shdLt, XmNbottomShadowColor, &_shdDk, nullptr);
    _textColor = _fg;
    _hdrFg = _fg;
    _hdrBg = makeColorPixel(area, "LightSteelBlue2", 0);
    _selFg = makeColorPixel(area, "White", 0);
    _selBg = makeColorPixel(area, "Gray80", 0);
    _suprBg = makeColorPixel(area, "LightSkyBlue3", 0);
    _suprFg = _fg;
    for (qipIcon* icon : {&_noneImg, &_checkImg, &_suprImg, &_unsuprImg})
        icon->install(area);

    _suprItemSelector.install(this);
    _suprSevSelector.install(this);
    _suprClassSelector.install(this);
    _suprFileSelector.install(this);
    show();
}

void SuprHeaders::destroyed()
{
    if (drawingArea())
        qipForgetWidget(drawingArea());
    qipScrollingList::destroyed();
}

void SuprHeaders::helpRequested() const { HelpWindow::showHelpOn("zx-supr"); }

void SuprHeaders::makeToolGroups(qipToolBar& bar)
{
    _navTools.addTool(_prevBtn.get());
    _navTools.addTool(_nextBtn.get());
    _editTools.addTool(_newBtn.get());
    _editTools.addTool(_delBtn.get());
    _editTools.addTool(_upBtn.get());
    _editTools.addTool(_downBtn.get());
    _fileTools.addTool(_saveBtn.get());
    bar.addGroup(&_navTools);
    bar.addGroup(&_editTools);
    bar.addGroup(&_fileTools);
    for (qipToolGroup* g : {&_navTools, &_editTools, &_fileTools})
        if (g->baseWidget())
            XtVaSetValues(g->baseWidget(), XmNbottomAttachment, XmATTACH_FORM, nullptr);
    updateButtons();
}

// ---- rows -----------------------------------------------------------------

static std::string entryText(const Suppression* s)
{
    char item[16] = "*";
    if (s->_tag)
        snprintf(item, sizeof item, "%d", s->_tag);
    const char* type = s->suprType();
    char persistence = s->_transient == 0 ? 'o' : s->_transient < 0 ? '-' : 'x';
    std::string cls = s->_classname ? s->_classname : "*";
    // A long class pattern is cut where the file column starts, and says so.
    if (cls.size() > 26)
        cls = cls.substr(0, 25) + "~";
    char buf[160];
    snprintf(buf, sizeof buf, "     %c   %-5s  %-4s   %-26s  ", persistence, item, type ? type : "*", cls.c_str());
    return std::string(buf) + (s->_filename ? s->_filename : "*");
}

static std::string headerText(const ZxSuprRec* set)
{
    const SuprFile* f = set->_file;
    if (!f)
        return "-*-*-";
    std::string text = f->header();
    if (f->optionfile() && f->status() == SuprFile::ReadOnly)
        text += "  (read-only)";
    else if (f->optionfile() && f->status() == SuprFile::Missing)
        text += "  (cannot be created)";
    return text;
}

// A header too long for the view loses the middle of its path, so that the
// end, which tells the files apart, stays in sight.
static std::string fitted(const std::string& header, int columns)
{
    const size_t keep = columns > 40 ? static_cast<size_t>(columns) - 2 : 38;
    size_t path = header.find('/');
    if (header.size() <= keep || path == std::string::npos || path + 20 > keep)
        return header;
    size_t tail = keep - path - 13;
    return header.substr(0, path + 10) + "..." + header.substr(header.size() - tail);
}

std::string SuprHeaders::rowText(int row)
{
    SuprTraversal t(&_supr);
    if (t.locate(row) < 0)
        return "";
    return t._supr ? entryText(t._supr) : headerText(t.set());
}

bool SuprHeaders::matchesContext(const Suppression* s) const
{
    if (!_context || !s)
        return false;
    SuprRec r(_context);
    return *s == r;
}

void SuprHeaders::refresh(Drawable d, qipView view)
{
    int offset = (_vPixels - _Ypxls) / 2 + _baseline;
    XSetFont(_display, _gc, _font);
    SuprTraversal t(&_supr);
    if (t.locate(view._y) < 0)
        return;
    for (int i = 0; i < view._dy; ++i) {
        bool header = t._supr == nullptr;
        bool selected = t._pos == _cursor._pos;
        Pixel bg = _bg, fg = _textColor;
        if (selected)
            bg = _selBg;
        else if (header)
            bg = _hdrBg, fg = _hdrFg;
        else if (matchesContext(t._supr))
            bg = _suprBg, fg = _suprFg;
        if (bg != _bg) {
            XSetForeground(_display, _gc, bg);
            XFillRectangle(_display, d, _gc, 0, i * _vPixels, (view._dx + 1) * _hPixels, _vPixels);
        }
        if (selected) {
            // The cursor's row is framed too: its grey alone is faint.
            XSetForeground(_display, _gc, _shdDk);
            XDrawRectangle(_display, d, _gc, 0, i * _vPixels, (view._dx + 1) * _hPixels - 1, _vPixels - 1);
        }
        std::string text = header ? fitted(headerText(t.set()), view._dx) : entryText(t._supr);
        int len = static_cast<int>(text.size());
        XSetForeground(_display, _gc, fg);
        if (len > view._x)
            XDrawString(_display, d, _gc, 0, i * _vPixels + offset, text.c_str() + view._x, len - view._x);
        if (view._x == 0) {
            qipIcon* mark = header ? (t.file() && t.file()->status() == SuprFile::Writable ? &_checkImg : &_noneImg)
                                   : (t._supr->_type ? &_suprImg : &_unsuprImg);
            int y = i * _vPixels + (_vPixels - static_cast<int>(mark->height())) / 2;
            mark->render(d, IconX, y < 0 ? 0 : y);
        }
        if (t.next() < 0)
            break;
    }
}

// The visible rows for the widget dump: '>' marks the cursor's row, then
// the row's mark and its text.
void SuprHeaders::describe(void* self, FILE* out)
{
    SuprHeaders* h = static_cast<SuprHeaders*>(self);
    const qipView& v = h->_view;
    fprintf(out, "| view %d %d canvas %d %d selected %d cell %d %d\n", v._y, v._dy, h->_canvasWidth,
            h->_canvasHeight, h->_cursor._pos, h->_hPixels, h->_vPixels);
    SuprTraversal t(&h->_supr);
    if (t.locate(v._y) < 0)
        return;
    for (int i = 0; i < v._dy; ++i) {
        const char* mark = t._supr ? (t._supr->_type ? "supr" : "unsupr")
                                   : (t.file() && t.file()->status() == SuprFile::Writable ? "check" : "none");
        std::string text = t._supr ? entryText(t._supr) : headerText(t.set());
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        fprintf(out, "| %c %s %s\n", t._pos == h->_cursor._pos ? '>' : ' ', mark, text.c_str());
        if (t.next() < 0)
            break;
    }
}

void SuprHeaders::show()
{
    resizeCanvas(Columns, _cursor.rows() + 1);
    keepInView(_cursor._pos);
    if (drawingArea())
        render();
    updateButtons();
}

void SuprHeaders::keepInView(int row)
{
    if (row < 0)
        return;
    if (row < _view._y)
        vertScroll(row);
    else if (row >= _view._y + _view._dy)
        vertIScroll(row - (_view._y + _view._dy) + 1);
}

void SuprHeaders::updateButtons()
{
    bool onEntry = _cursor._supr != nullptr;
    bool any = _cursor._pos >= 0;
    bool writable = false;
    for (ListIterator<ZxSuprRec*> i(_supr); i.valid() && !writable; i.next())
        writable = i.current()->_file && i.current()->_file->status() == SuprFile::Writable;
    struct {
        SuprWinBtn* button;
        bool on;
    } rules[] = {{_nextBtn.get(), any && _cursor._pos + 1 < _cursor.rows()},
                 {_prevBtn.get(), _cursor._pos > 0},
                 {_newBtn.get(), any},
                 {_delBtn.get(), onEntry},
                 {_upBtn.get(), onEntry && (_cursor._index > 1 || _cursor._rec.peekPrev())},
                 {_downBtn.get(),
                  onEntry && (_cursor.file() &&
                              (_cursor._index < _cursor.file()->nSuppressions() || _cursor._rec.peekNext()))},
                 {_saveBtn.get(), writable}};
    for (auto& r : rules) {
        if (!r.button->baseWidget())
            continue;
        if (r.on && !_editing)
            r.button->activate();
        else
            r.button->deactivate();
    }
}

// ---- context -------------------------------------------------------------------

void SuprHeaders::rebuildSets()
{
    if (_editing)
        cancelEdit();
    _supr.clear();
    // Each file once, at the place where it counts for the client; so each
    // file is saved once, from the one set.
    if (_client)
        _client->setsInForce(_supr);
    else
        for (ListIterator<ZxSuprRec*> i(ZxSuppress::globalSuppressions()); i.valid(); i.next())
            _supr.append(i.current());
    _cursor.sets(&_supr);
    _cursor.last();
    show();
}

void SuprHeaders::setContext(ZxClient* client, ZxErrMsg* msg)
{
    bool fresh = client && client->hasNewSuppressions();
    if (client == _client && !fresh && !_supr.empty()) {
        _context = msg;
        if (drawingArea())
            render();
        return;
    }
    _client = client;
    _context = msg;
    rebuildSets();
}

void SuprHeaders::clientSetsChanged(ZxClient& client)
{
    if (_client != &client)
        return;
    client.hasNewSuppressions();
    rebuildSets();
}

void SuprHeaders::clientGone(ZxClient& client)
{
    if (_client != &client)
        return;
    _client = nullptr;
    _context = nullptr;
    rebuildSets();
}

void SuprHeaders::forgetSets()
{
    if (_editing)
        cancelEdit();
    _client = nullptr;
    _context = nullptr;
    _supr.clear();
    _cursor.sets(&_supr);
    show();
}

// ---- cursor ---------------------------------------------------------------------

int SuprHeaders::select(int row)
{
    _armed = 0;
    if (_editing)
        return -1;
    _armed = row == _cursor._pos;
    if (_cursor.locate(row) < 0)
        return -1;
    keepInView(_cursor._pos);
    render();
    updateButtons();
    return 0;
}

int SuprHeaders::next()
{
    if (_editing || _cursor.next() < 0)
        return -1;
    keepInView(_cursor._pos);
    render();
    updateButtons();
    return 0;
}

int SuprHeaders::prev()
{
    if (_editing || _cursor.prev() < 0)
        return -1;
    keepInView(_cursor._pos);
    render();
    updateButtons();
    return 0;
}

// ---- editing the list ---------------------------------------------------------

int SuprHeaders::create()
{
    if (_editing || !_cursor.file())
        return -1;
    Suppression* s = _context ? new Suppression(_context) : new Suppression();
    s->_type = 1;
    ZxSuprRec* set = _cursor.set();
    if (set->_file->addSuppressionAfter(s, _cursor._supr) <= 0) {
        delete s;
        return -1;
    }
    _cursor.locate(s);
    show();
    ZxSuppress::invalidateSuppression(*set);
    return 0;
}

int SuprHeaders::add() { return _context ? create() : -1; }

int SuprHeaders::del()
{
    if (_editing || !_cursor._supr)
        return -1;
    Suppression* s = _cursor._supr;
    ZxSuprRec* set = _cursor.set();
    _cursor.prev();
    set->_file->removeSuppression(s);
    delete s;
    // The row before keeps its number; its entry is looked up again.
    _cursor.locate(_cursor._pos);
    show();
    ZxSuppress::invalidateSuppression(*set);
    return 0;
}

int SuprHeaders::up()
{
    ZxSuprRec* set = _cursor.set();
    if (_editing || !set || _cursor.up() < 0)
        return -1;
    show();
    ZxSuppress::invalidateSuppression(*set);
    return 0;
}

int SuprHeaders::down()
{
    ZxSuprRec* set = _cursor.set();
    if (_editing || !set || _cursor.down() < 0)
        return -1;
    show();
    ZxSuppress::invalidateSuppression(*set);
    return 0;
}

int SuprHeaders::save()
{
    if (_editing)
        return -1;
    int failed = 0;
    for (ListIterator<ZxSuprRec*> i(_supr); i.valid(); i.next()) {
        SuprFile* f = i.current()->_file;
        bool meant = f && f->optionfile() && f->status() == SuprFile::Writable;
        if (i.current()->save() != 0 && meant)
            ++failed;
    }
    show();
    std::string text = "Suppressions saved";
    if (failed)
        text += "; " + std::to_string(failed) + (failed == 1 ? " file" : " files") + " could not be written";
    StatusView::show(text.c_str());
    return 0;
}

// ---- field editing -----------------------------------------------------------------

void SuprHeaders::rootPosition(int col, int row, int& x, int& y)
{
    x = y = 0;
    Widget area = drawingArea();
    if (!area)
        return;
    Position rx = 0, ry = 0;
    XtTranslateCoords(area, static_cast<Position>((col - _view._x) * _hPixels),
                      static_cast<Position>((row - _view._y) * _vPixels), &rx, &ry);
    x = rx;
    y = ry;
}

int SuprHeaders::activate(int x, int y)
{
    int armed = _armed;
    _armed = 0;
    if (_editing || !armed)
        return -1;
    Suppression* s = _cursor._supr;
    if (!s || _hPixels <= 0 || _vPixels <= 0)
        return -1;
    int col = x / _hPixels + _view._x;
    int row = y / _vPixels + _view._y;
    if (row != _cursor._pos)
        return -1;
    int field = 0;
    for (int k = 0; fieldColumns[k]; ++k)
        if (fieldColumns[k] < col)
            ++field;
    _editing = 1;
    int rx, ry;
    switch (field) {
    case 0:
        newSuppressionField(s->_type ? 0 : 1);
        return 0;
    case 1:
        if (s->_transient < 0) {
            finishEdit();
            return -1;
        }
        newPersistenceField(s->_transient ? 0 : 1);
        return 0;
    case 2:
        updateButtons();
        rootPosition(fieldColumns[1] + 1, row, rx, ry);
        if (_suprItemSelector.getItem(rx, ry, s->_tag) != 0) {
            finishEdit();
            return -1;
        }
        return 0;
    case 3:
        updateButtons();
        rootPosition(fieldColumns[2] + 1, row, rx, ry);
        if (_suprSevSelector.getSeverity(rx, ry, s->_severity) != 0) {
            finishEdit();
            return -1;
        }
        return 0;
    case 4:
    case 5: {
        updateButtons();
        bool cls = field == 4;
        int start = (fieldColumns[cls ? 3 : 4] + 1 - _view._x) * _hPixels + 5;
        int width = cls ? (fieldColumns[4] - fieldColumns[3]) * _hPixels : (_view._dx - 1) * _hPixels - start;
        int top = (row - _view._y) * _vPixels - _vPixels / 2;
        SuprTextSelector& selector = cls ? static_cast<SuprTextSelector&>(_suprClassSelector)
                                         : static_cast<SuprTextSelector&>(_suprFileSelector);
        if (selector.open(start, top < 0 ? 0 : top, width, cls ? s->_classname : s->_filename) != 0) {
            finishEdit();
            return -1;
        }
        return 0;
    }
    default:
        finishEdit();
        return -1;
    }
}

void SuprHeaders::finishEdit()
{
    _editing = 0;
    updateButtons();
    if (drawingArea())
        render();
}

void SuprHeaders::cancelEdit()
{
    if (!_editing)
        return;
    _suprItemSelector.close();
    _suprSevSelector.close();
    _suprClassSelector.close();
    _suprFileSelector.close();
    finishEdit();
}

void SuprHeaders::changed()
{
    if (ZxSuprRec* set = _cursor.set())
        ZxSuppress::invalidateSuppression(*set);
}

bool SuprHeaders::editOpen(const char* operation)
{
    if (!_editing)
        fprintf(stderr, "SuprHeaders::%s(): not editing!\n", operation);
    return _editing != 0;
}

void SuprHeaders::newSuppressionField(int type)
{
    if (!editOpen("newSuppressionField"))
        return;
    Suppression* s = _cursor._supr;
    if (s && s->_type != type) {
        s->_type = type;
        changed();
    }
    finishEdit();
}

void SuprHeaders::newPersistenceField(int transient)
{
    if (!editOpen("newPersistenceField"))
        return;
    Suppression* s = _cursor._supr;
    if (s && s->_transient >= 0)
        s->_transient = transient;
    finishEdit();
}

void SuprHeaders::newItemField(int item)
{
    if (!editOpen("newItemField"))
        return;
    Suppression* s = _cursor._supr;
    if (s && s->_tag != item) {
        s->_tag = item;
        changed();
    }
    finishEdit();
}

void SuprHeaders::newSeverityField(int severity)
{
    if (!editOpen("newSeverityField"))
        return;
    Suppression* s = _cursor._supr;
    if (s && s->_severity != severity) {
        s->_severity = severity;
        changed();
    }
    finishEdit();
}

static bool sameText(const char* a, const char* b) { return a == b || (a && b && strcmp(a, b) == 0); }

void SuprHeaders::newClassField(const char* pattern)
{
    if (!editOpen("newClassField"))
        return;
    Suppression* s = _cursor._supr;
    if (s && !sameText(s->_classname, pattern)) {
        SuprRec::set(s->_classname, pattern);
        changed();
    }
    finishEdit();
}

void SuprHeaders::newFileField(const char* pattern)
{
    if (!editOpen("newFileField"))
        return;
    Suppression* s = _cursor._supr;
    if (s && !sameText(s->_filename, pattern)) {
        SuprRec::set(s->_filename, pattern);
        changed();
    }
    finishEdit();
}

void SuprHeaders::printSuppressions(FILE* out)
{
    for (ListIterator<ZxSuprRec*> i(_supr); i.valid(); i.next()) {
        SuprFile* f = i.current()->_file;
        fprintf(out, "----\n%s\n", f ? f->header() : "-*-*-");
        if (!f)
            continue;
        for (ListIterator<Suppression*> e(f->_suppressions); e.valid(); e.next()) {
            Suppression* s = e.current();
            const char* type = s->suprType();
            fprintf(out, "    %c item %d severity %s class %s file %s\n", s->_transient ? 'x' : 'o', s->_tag,
                    type ? type : "", s->_classname ? s->_classname : "", s->_filename ? s->_filename : "");
        }
    }
}
