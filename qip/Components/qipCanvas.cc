#include "qip/Components/qipCanvas.h"

#include <Xm/DrawingA.h>
#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>

#include <cassert>

#include "qip/Components/qipHorizScrollBar.h"
#include "qip/Components/qipVertScrollBar.h"

qipCanvas::qipCanvas(const char* name)
    : qipScrolledWindow(name), _gc(nullptr), _currentView(0), _newView(0), _hPixels(1), _vPixels(1), _bg(0),
      _fg(0), _topShadow(0), _botShadow(0), _display(nullptr), _pictureWidth(0), _pictureHeight(0)
{
}

qipCanvas::~qipCanvas()
{
    if (_clientArea && _clientArea != _base) {
        XtRemoveCallback(_clientArea, XmNexposeCallback, expose_cbk, this);
        XtRemoveCallback(_clientArea, XmNresizeCallback, resize_cbk, this);
        XtRemoveCallback(_clientArea, XmNdestroyCallback, areaDestroy_cbk, this);
    }
    freePictures();
}

void qipCanvas::install(qipVCell* parent)
{
    qipScrolledWindow::install(parent);
    assert(_clientArea != 0);
    _display = XtDisplay(_base);
    // The window decides the canvas's size: a child managed on it (an
    // editing field) must not shrink it to the child's size.
    Widget area = XtVaCreateManagedWidget(_name, xmDrawingAreaWidgetClass, _clientArea, XmNwidth,
                                          (Dimension)(_view._dx * _hPixels), XmNheight,
                                          (Dimension)(_view._dy * _vPixels), XmNmarginWidth, 2, XmNmarginHeight,
                                          2, XmNresizePolicy, XmRESIZE_NONE, nullptr);
    XtVaGetValues(area, XmNbackground, &_bg, XmNforeground, &_fg, XmNtopShadowColor, &_topShadow,
                  XmNbottomShadowColor, &_botShadow, nullptr);
    XtVaSetValues(_base, XmNhorizontalScrollBar, _hsb->baseWidget(), XmNverticalScrollBar, _vsb->baseWidget(),
                  XmNworkWindow, area, nullptr);
    XtAddCallback(area, XmNexposeCallback, expose_cbk, this);
    XtAddCallback(area, XmNresizeCallback, resize_cbk, this);
    XtAddCallback(area, XmNdestroyCallback, areaDestroy_cbk, this);
    _clientArea = area;
}

void qipCanvas::destroyed()
{
    freePictures();
    qipScrolledWindow::destroyed();
}

void qipCanvas::freePictures()
{
    if (!_display)
        return;
    if (_currentView)
        XFreePixmap(_display, _currentView);
    if (_newView)
        XFreePixmap(_display, _newView);
    if (_gc)
        XFreeGC(_display, _gc);
    _currentView = _newView = 0;
    _gc = nullptr;
    _pictureWidth = _pictureHeight = 0;
}

int qipCanvas::render(qipView v)
{
    Widget area = drawingArea();
    if (v.empty() || !area || !XtIsRealized(area))
        return -1;
    Window window = XtWindow(area);
    if (!_gc) {
        _gc = XCreateGC(_display, window, 0, nullptr);
        if (!_gc) {
            XtWarning(" **** qipCanvas::render() : failed to obtain GC ");
            return -1;
        }
    }
    Dimension areaWidth = 0, areaHeight = 0;
    Cardinal depth = 0;
    XtVaGetValues(area, XmNwidth, &areaWidth, XmNheight, &areaHeight, XmNdepth, &depth, nullptr);
    int width = (v._dx + 1) * _hPixels;
    int height = (v._dy + 1) * _vPixels;

    _newView = XCreatePixmap(_display, window, width, height, depth);
    XSetForeground(_display, _gc, _bg);
    XFillRectangle(_display, _newView, _gc, 0, 0, width, height);
    prepareGC();
    refresh(_newView, v);
    // The bevel follows the window's edge where the window ends inside the picture.
    drawBevel(_newView, areaWidth < width ? areaWidth : width, areaHeight < height ? areaHeight : height);

    Pixmap old = _currentView;
    _currentView = _newView;
    _newView = 0;
    _pictureWidth = width;
    _pictureHeight = height;
    refreshDisplay();
    if (old)
        XFreePixmap(_display, old);
    return 0;
}

void qipCanvas::refreshDisplay()
{
    Widget area = drawingArea();
    if (!_currentView || !area || !XtIsRealized(area))
        return;
    XCopyArea(_display, _currentView, XtWindow(area), _gc, 0, 0, _pictureWidth, _pictureHeight, 0, 0);
}

void qipCanvas::prepareGC()
{
    XSetForeground(_display, _gc, _fg);
    XSetBackground(_display, _gc, _bg);
}

void qipCanvas::drawBevel(Drawable d, int width, int height)
{
    XSetForeground(_display, _gc, _topShadow);
    for (int i = 0; i < 2; ++i) {
        XDrawLine(_display, d, _gc, 0, i, width - 1 - i, i);
        XDrawLine(_display, d, _gc, i, 0, i, height - 1 - i);
    }
    XSetForeground(_display, _gc, _botShadow);
    for (int i = 0; i < 2; ++i) {
        XDrawLine(_display, d, _gc, i + 1, height - 1 - i, width - 1, height - 1 - i);
        XDrawLine(_display, d, _gc, width - 1 - i, i + 1, width - 1 - i, height - 1);
    }
}

void qipCanvas::setCellSize(int hPixels, int vPixels)
{
    _hPixels = hPixels < 1 ? 1 : hPixels;
    _vPixels = vPixels < 1 ? 1 : vPixels;
    fitViewToWindow();
}

void qipCanvas::focusBorder(bool in)
{
    Widget area = drawingArea();
    if (!area)
        return;
    Pixel border = 0;
    if (in)
        XtVaGetValues(area, XmNhighlightColor, &border, nullptr);
    else
        XtVaGetValues(XtParent(area), XmNbackground, &border, nullptr);
    XtVaSetValues(area, XmNborderColor, border, nullptr);
}

void qipCanvas::fitViewToWindow()
{
    Widget area = drawingArea();
    if (!area)
        return;
    Dimension width = 0, height = 0;
    XtVaGetValues(area, XmNwidth, &width, XmNheight, &height, nullptr);
    viewSize(width / _hPixels, height / _vPixels);
}

void qipCanvas::exposed(XEvent* event)
{
    // Only the last of a series of expose events redraws.
    if (event && event->type == Expose && event->xexpose.count > 0)
        return;
    render();
}

void qipCanvas::resized()
{
    fitViewToWindow();
    // A shrinking window gets no expose, yet its bevel has moved.
    render();
}

void qipCanvas::drawingAreaDestroyed()
{
    if (_clientArea != _base)
        _clientArea = nullptr;
}

void qipCanvas::expose_cbk(Widget, XtPointer clientData, XtPointer callData)
{
    static_cast<qipCanvas*>(clientData)->exposed(static_cast<XmDrawingAreaCallbackStruct*>(callData)->event);
}

void qipCanvas::resize_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<qipCanvas*>(clientData)->resized();
}

void qipCanvas::areaDestroy_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<qipCanvas*>(clientData)->drawingAreaDestroyed();
}
