#include "qip/Components/qipScrolledWindow.h"

#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qip/Components/qipHorizScrollBar.h"
#include "qip/Components/qipVertScrollBar.h"

// One axis of setView(): clamps the position `pos` of a view `len` cells long
// to content `size` cells long; gives the bar's value and page length.
static void clampAxis(int& pos, int len, int size, int centre, int& value, int& page)
{
    if (len > size) {
        // Division rounds toward zero, so 3 lines in 10 start at -3.
        pos = centre ? (size - len) / 2 : 0;
        value = 0;
        page = size;
    } else {
        if (pos < 0)
            pos = 0;
        if (pos + len > size)
            pos = size - len;
        value = pos;
        page = len;
    }
    if (page < 1)
        page = 1;
}

// "<name><suffix>" in a new malloc'ed buffer, or null.
static char* barName(const char* name, const char* suffix)
{
    size_t n = strlen(name) + strlen(suffix) + 1;
    char* s = static_cast<char*>(malloc(n));
    if (s)
        snprintf(s, n, "%s%s", name, suffix);
    return s;
}

qipScrolledWindow::qipScrolledWindow(const char* name)
    : qipVCell(name), _vsb(nullptr), _hsb(nullptr), _canvasWidth(1), _canvasHeight(1), _centerWhenOversize(0)
{
}

qipScrolledWindow::~qipScrolledWindow()
{
    delete _hsb;
    delete _vsb;
}

void qipScrolledWindow::install(qipVCell* parent)
{
    assert(parent != 0 && parent->clientArea() != 0);
    assert(_view._dx != 0);
    assert(_canvasWidth != 0);
    assert(_view._dy != 0);
    assert(_canvasHeight != 0);
    _base = XtVaCreateManagedWidget(_name, xmScrolledWindowWidgetClass, parent->clientArea(), XmNscrollingPolicy,
                                    XmAPPLICATION_DEFINED, XmNvisualPolicy, XmVARIABLE,
                                    XmNscrollBarDisplayPolicy, XmSTATIC, nullptr);
    _clientArea = _base;
    installDestroyHandler();

    char* hsb_name = barName(_name, "_hsb");
    assert(hsb_name != 0);
    _hsb = new qipHorizScrollBar(hsb_name, this);
    free(hsb_name);
    assert(_hsb != 0);
    char* vsb_name = barName(_name, "_vsb");
    assert(vsb_name != 0);
    _vsb = new qipVertScrollBar(vsb_name, this);
    free(vsb_name);
    assert(_vsb != 0);
    // Gives the new bars their numbers before their widgets exist.
    setView(_view);
    _hsb->install(this);
    _vsb->install(this);
}

void qipScrolledWindow::setView(qipView v)
{
    int hValue, hPage, vValue, vPage;
    clampAxis(v._x, v._dx, _canvasWidth, _centerWhenOversize, hValue, hPage);
    clampAxis(v._y, v._dy, _canvasHeight, _centerWhenOversize, vValue, vPage);
    _view = v;
    if (_hsb)
        _hsb->adjustValues(hValue, _canvasWidth, hPage);
    if (_vsb)
        _vsb->adjustValues(vValue, _canvasHeight, vPage);
}

void qipScrolledWindow::viewPosition(int x, int y) { setView(qipView(x, y, _view._dx, _view._dy)); }

void qipScrolledWindow::viewSize(int dx, int dy) { setView(qipView(_view._x, _view._y, dx, dy)); }

void qipScrolledWindow::resizeCanvas(int width, int height)
{
    _canvasWidth = width < 1 ? 1 : width;
    _canvasHeight = height < 1 ? 1 : height;
    setView(_view);
}

void qipScrolledWindow::vertScroll(int line) { viewPosition(_view._x, line); }

void qipScrolledWindow::horizScroll(int col) { viewPosition(col, _view._y); }

void qipScrolledWindow::vertIScroll(int n) { viewPosition(_view._x, _view._y + n); }

void qipScrolledWindow::horizIScroll(int n) { viewPosition(_view._x + n, _view._y); }
