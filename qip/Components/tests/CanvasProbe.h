#pragma once

#include <X11/Intrinsic.h>
#include <X11/Xutil.h>
#include <Xm/Xm.h>

#include "qip/Components/tests/TestApp.h"
#include "tests/support/TestSupport.h"

// Looks at and pokes the windows of canvases and lists in their tests.
namespace canvas_probe {

// The pixel at (x, y) of a realized widget's window, after the server has
// done all that was asked of it.
inline unsigned long pixelAt(Widget w, int x, int y)
{
    Display* d = XtDisplay(w);
    XSync(d, False);
    XImage* image = XGetImage(d, XtWindow(w), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

// Root coordinates of the point (x, y) of a widget's window.
inline void rootPoint(Widget w, int x, int y, int& rx, int& ry)
{
    Window child;
    Display* d = XtDisplay(w);
    XTranslateCoordinates(d, XtWindow(w), DefaultRootWindow(d), x, y, &rx, &ry, &child);
}

inline int width(Widget w)
{
    Dimension v = 0;
    XtVaGetValues(w, XmNwidth, &v, nullptr);
    return v;
}

inline int height(Widget w)
{
    Dimension v = 0;
    XtVaGetValues(w, XmNheight, &v, nullptr);
    return v;
}

// Gives the keyboard to `w`: the X focus to its shell (there is no window
// manager on the test server), the Motif focus to the widget.
inline void focusOn(Widget w)
{
    Widget shell = w;
    while (!XtIsShell(shell))
        shell = XtParent(shell);
    XSetInputFocus(XtDisplay(w), XtWindow(shell), RevertToParent, CurrentTime);
    XmProcessTraversal(w, XmTRAVERSE_CURRENT);
    lumox_test::runLoopFor(testContext(), 50);
}

// Lets the toolkit handle what the server has queued for it.
inline void settle(int ms = 60) { lumox_test::runLoopFor(testContext(), ms); }

}  // namespace canvas_probe
