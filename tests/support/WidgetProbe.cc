#include "tests/support/WidgetProbe.h"

#include <X11/Xutil.h>
#include <Xm/Xm.h>

#include "tests/support/TestSupport.h"
#include "tests/support/XTestInput.h"

namespace lumox_test {

std::string labelText(Widget w)
{
    XmString s = nullptr;
    XtVaGetValues(w, XmNlabelString, &s, nullptr);
    if (!s)
        return "";
    char* text = static_cast<char*>(XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                    XmOUTPUT_ALL));
    XmStringFree(s);
    std::string result = text ? text : "";
    XtFree(text);
    return result;
}

unsigned long drawablePixel(Display* d, Drawable p, int x, int y)
{
    XImage* image = XGetImage(d, p, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

unsigned long pixelAt(Widget w, int x, int y)
{
    XSync(XtDisplay(w), False);
    return drawablePixel(XtDisplay(w), XtWindow(w), x, y);
}

int countPixels(Display* d, Drawable p, int x, int y, int width, int height, unsigned long pixel)
{
    XSync(d, False);
    XImage* image = XGetImage(d, p, x, y, width, height, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    int n = 0;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            n += XGetPixel(image, col, row) == pixel;
    XDestroyImage(image);
    return n;
}

void positionIn(Widget w, Widget ancestor, int& x, int& y)
{
    x = 0;
    y = 0;
    for (Widget p = w; p && p != ancestor; p = XtParent(p)) {
        Position px = 0, py = 0;
        XtVaGetValues(p, XmNx, &px, XmNy, &py, nullptr);
        x += px;
        y += py;
    }
}

int widthOf(Widget w)
{
    Dimension width = 0, border = 0;
    XtVaGetValues(w, XmNwidth, &width, XmNborderWidth, &border, nullptr);
    return width + 2 * border;
}

int heightOf(Widget w)
{
    Dimension height = 0, border = 0;
    XtVaGetValues(w, XmNheight, &height, XmNborderWidth, &border, nullptr);
    return height + 2 * border;
}

void rootPoint(Widget w, int x, int y, int& rx, int& ry)
{
    Window child;
    Display* d = XtDisplay(w);
    XTranslateCoordinates(d, XtWindow(w), DefaultRootWindow(d), x, y, &rx, &ry, &child);
}

bool isViewable(Widget w)
{
    XWindowAttributes a;
    return XtIsRealized(w) && XGetWindowAttributes(XtDisplay(w), XtWindow(w), &a) && a.map_state == IsViewable;
}

void clickOn(Widget w)
{
    int x, y;
    rootPoint(w, widthOf(w) / 2, heightOf(w) / 2, x, y);
    click(XtDisplay(w), x, y);
}

void focusOn(Widget w)
{
    Widget shell = w;
    while (!XtIsShell(shell))
        shell = XtParent(shell);
    XSetInputFocus(XtDisplay(w), XtWindow(shell), RevertToParent, CurrentTime);
    XmProcessTraversal(w, XmTRAVERSE_CURRENT);
    int x, y;
    rootPoint(w, 5, 5, x, y);
    movePointer(XtDisplay(w), x, y);
    runLoopFor(XtWidgetToApplicationContext(w), 60);
}

static std::vector<std::string> caught;

static void catchWarning(String message) { caught.push_back(message ? message : ""); }

WarningCatcher::WarningCatcher(XtAppContext context) : _context(context)
{
    caught.clear();
    _previous = XtAppSetWarningHandler(context, catchWarning);
}

WarningCatcher::~WarningCatcher() { XtAppSetWarningHandler(_context, _previous); }

const std::vector<std::string>& WarningCatcher::warnings() const { return caught; }

}  // namespace lumox_test
