#include "qip/Components/qipIcon.h"

#include <X11/StringDefs.h>

#include <cstring>

#include "qip/Components/qipVCell.h"

GC qipIcon::_gc = nullptr;

qipIcon::qipIcon(char** xpmData) : _data(xpmData), _base(nullptr), _display(nullptr), _image(0), _mask(0)
{
    memset(&_attributes, 0, sizeof _attributes);
}

qipIcon::~qipIcon() { release(); }

void qipIcon::release()
{
    if (!_display)
        return;
    if (_mask)
        XFreePixmap(_display, _mask);
    if (_image)
        XFreePixmap(_display, _image);
    XpmFreeAttributes(&_attributes);
    memset(&_attributes, 0, sizeof _attributes);
    _mask = 0;
    _image = 0;
    _display = nullptr;
}

void qipIcon::install(qipVCell* target)
{
    if (target)
        install(target->baseWidget());
}

void qipIcon::install(Widget w)
{
    if (!w || !_data)
        return;
    // Installing again (a new widget) replaces the pixmaps made for the old one.
    release();
    _base = w;
    Display* d = XtDisplay(w);
    Window root = RootWindowOfScreen(XtScreen(w));
    if (!_gc) {
        _gc = XCreateGC(d, root, 0, nullptr);
        if (!_gc) {
            XtAppWarning(XtWidgetToApplicationContext(w), " **** qipCanvas::render() : failed to obtain GC ");
            return;
        }
    }

    Colormap colormap;
    int depth;
    Pixel background;
    XtVaGetValues(w, XtNcolormap, &colormap, XtNdepth, &depth, XtNbackground, &background, nullptr);

    XpmColorSymbol symbol;
    symbol.name = const_cast<char*>("background");
    symbol.value = nullptr;
    symbol.pixel = background;

    memset(&_attributes, 0, sizeof _attributes);
    _attributes.colormap = colormap;
    _attributes.depth = depth;
    _attributes.visual = DefaultVisualOfScreen(XtScreen(w));
    _attributes.colorsymbols = &symbol;
    _attributes.numsymbols = 1;
    _attributes.exactColors = False;
    _attributes.closeness = 40000;
    _attributes.valuemask =
        XpmColormap | XpmDepth | XpmVisual | XpmColorSymbols | XpmExactColors | XpmCloseness | XpmSize;

    if (XpmCreatePixmapFromData(d, root, _data, &_image, &_mask, &_attributes) < 0) {
        _image = 0;
        _mask = 0;
        return;
    }
    // The symbol lives on this stack frame; the attributes must not point to it.
    _attributes.colorsymbols = nullptr;
    _attributes.numsymbols = 0;
    _display = d;
}

void qipIcon::render(Drawable d, int x, int y)
{
    if (!_image || !_gc)
        return;
    if (_mask) {
        XSetClipMask(_display, _gc, _mask);
        XSetClipOrigin(_display, _gc, x, y);
    } else {
        XSetClipMask(_display, _gc, 0);
    }
    XCopyArea(_display, _image, d, _gc, 0, 0, _attributes.width - 1, _attributes.height - 1, x, y);
}
