#include "qip/Components/qipTCanvas.h"

#include <cassert>
#include <cstdio>

#include "qip/Components/qipApplication.h"
#include "qip/Components/qipColor.h"

qipTCanvas::qipTCanvas(const char* name)
    : qipCanvas(name), _font(0), _fontInfo(nullptr), _textColor(0), _Xpxls(1), _Ypxls(1), _baseline(0)
{
}

qipTCanvas::~qipTCanvas()
{
    if (_fontInfo && _display)
        XFreeFont(_display, _fontInfo);
}

int qipTCanvas::setFont(const char* name)
{
    if (!name || !*name)
        return -1;
    if (!_display && theApplication)
        _display = theApplication->display();
    if (!_display)
        return -1;
    XFontStruct* info = XLoadQueryFont(_display, name);
    if (!info)
        return -1;
    if (_fontInfo)
        XFreeFont(_display, _fontInfo);
    _fontInfo = info;
    _font = info->fid;
    _Xpxls = info->max_bounds.width;
    _Ypxls = info->ascent + info->descent;
    _baseline = info->ascent;
    setCellSize(_Xpxls, (_Ypxls * 7) / 5);
    return 0;
}

void qipTCanvas::install(qipVCell* parent)
{
    if (!_fontInfo && setFont("Fixed") != 0)
        fprintf(stderr, " *** qipTCanvas::install: cannot load the font \"Fixed\"\n");
    qipCanvas::install(parent);
    _textColor = _fg;
}

int qipTCanvas::setTextColor(const char* name)
{
    Widget area = drawingArea();
    if (!area || !name)
        return -1;
    _textColor = makeColorPixel(area, name, 0);
    return 0;
}

int qipTCanvas::repWidth(unsigned long n, int base)
{
    assert(base > 1);
    int digits = 1;
    for (unsigned long b = static_cast<unsigned long>(base); n >= b; n /= b)
        ++digits;
    return digits;
}

void qipTCanvas::prepareGC()
{
    qipCanvas::prepareGC();
    XSetForeground(_display, _gc, _textColor);
    if (_fontInfo)
        XSetFont(_display, _gc, _font);
}
