#include "qip/Common/FileViewer.h"

#include <Xm/Xm.h>

#include <cassert>
#include <cstdlib>
#include <cstring>

qipTranslationRecords<FileViewer> FileViewer::_records;

static const char viewerTranslations[] =
    "<Btn1Down>: FileViewerFocus()\n"
    "<Btn4Down>: FileViewerScroll(line, -3)\n"
    "<Btn5Down>: FileViewerScroll(line, 3)\n"
    "<Key>osfUp: FileViewerScroll(line, -1)\n"
    "<Key>k: FileViewerScroll(line, -1)\n"
    "<Key>osfDown: FileViewerScroll(line, 1)\n"
    "<Key>j: FileViewerScroll(line, 1)\n"
    "<Key>osfPageUp: FileViewerScroll(page, -1)\n"
    "<Key>b: FileViewerScroll(page, -1)\n"
    "<Key>osfPageDown: FileViewerScroll(page, 1)\n"
    "<Key>space: FileViewerScroll(page, 1)\n"
    "<Key>osfBeginLine: FileViewerScroll(top)\n"
    "<Key>Home: FileViewerScroll(top)\n"
    "<Key>osfEndLine: FileViewerScroll(bottom)\n"
    "<Key>End: FileViewerScroll(bottom)";

FileViewer::FileViewer(const char* name)
    : qipTCanvas(name), _darkShadowColor(0), _lightShadowColor(0), _headerBg(0), _maxLineLen(0)
{
}

FileViewer::~FileViewer() { _records.forget(this); }

void FileViewer::install(qipVCell* parent)
{
    setFont("Fixed");
    resizeCanvas(80, 20);
    viewSize(80, 20);
    qipTCanvas::install(parent);
    setTextColor("Black");

    Widget area = drawingArea();
    assert(area != 0);
    XtVaGetValues(area, XmNbottomShadowColor, &_darkShadowColor, XmNtopShadowColor, &_lightShadowColor,
                  XmNbackground, &_headerBg, nullptr);
    _bg = _headerBg;

    static bool actionsAdded = false;
    if (!actionsAdded) {
        static XtActionsRec actions[] = {{const_cast<char*>("FileViewerScroll"), scroll_act},
                                         {const_cast<char*>("FileViewerFocus"), focus_act}};
        XtAppAddActions(XtWidgetToApplicationContext(area), actions, XtNumber(actions));
        actionsAdded = true;
    }
    XtOverrideTranslations(area, XtParseTranslationTable(viewerTranslations));
    XtVaSetValues(area, XmNtraversalOn, True, nullptr);
    _records.add(area, this);
}

void FileViewer::destroyed()
{
    _records.forget(this);
    qipTCanvas::destroyed();
}

void FileViewer::display(const char* name, int line)
{
    if (!name || !*name || line <= 0)
        return;
    viewPosition(0, 0);
    _maxLineLen = 0;
    if (_browser.open(name) == 0) {
        // One column more than the widest line: the text starts one column in.
        _maxLineLen = _browser.maxWidth() + 1;
        resizeCanvas(static_cast<int>(_maxLineLen), static_cast<int>(_browser.nLines()));
        vertScroll(line - 1);
    } else {
        resizeCanvas(1, 1);
    }
    render();
}

void FileViewer::refresh(Drawable d, qipView view)
{
    if (!_browser.isOpen())
        return;
    XSetFont(_display, _gc, _font);
    XSetForeground(_display, _gc, _textColor);
    // The text sits in the middle of its line, so the last visible line is
    // whole and the first one clear of the top edge.
    int baseline = (_vPixels - _Ypxls) / 2 + _baseline;
    int first = view._x < 0 ? 0 : view._x;
    for (int i = 0; i < view._dy; ++i) {
        int len = 0;
        char* text = _browser.getLine(static_cast<long>(view._y) + i, len);
        if (text && len >= first)
            XDrawString(_display, d, _gc, _hPixels, i * _vPixels + baseline, text + first, len - first);
    }
}

void FileViewer::scrollLines(int n)
{
    vertIScroll(n);
    render();
}

void FileViewer::scrollPages(int n)
{
    // A page keeps one line of the last one in sight.
    int page = _view._dy > 1 ? _view._dy - 1 : 1;
    scrollLines(n * page);
}

void FileViewer::scrollToTop()
{
    vertScroll(0);
    render();
}

void FileViewer::scrollToBottom()
{
    vertScroll(_canvasHeight);
    render();
}

void FileViewer::scrollAction(const char* how, const char* amount)
{
    int n = amount ? atoi(amount) : 0;
    if (strcmp(how, "line") == 0)
        scrollLines(n);
    else if (strcmp(how, "page") == 0)
        scrollPages(n);
    else if (strcmp(how, "top") == 0)
        scrollToTop();
    else if (strcmp(how, "bottom") == 0)
        scrollToBottom();
}

void FileViewer::scroll_act(Widget w, XEvent*, String* params, Cardinal* nParams)
{
    FileViewer* viewer = _records.find(w);
    if (viewer && *nParams > 0)
        viewer->scrollAction(params[0], *nParams > 1 ? params[1] : nullptr);
}

void FileViewer::focus_act(Widget w, XEvent*, String*, Cardinal*) { XmProcessTraversal(w, XmTRAVERSE_CURRENT); }
