#include <gtest/gtest.h>

#include "qip/Components/tests/ToolkitProbe.h"

#include <X11/Xutil.h>
#include <Xm/Xm.h>

#include <vector>

#include "qip/Components/tests/TestApp.h"

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

unsigned long windowPixel(Widget w, int x, int y)
{
    XSync(XtDisplay(w), False);
    return drawablePixel(XtDisplay(w), XtWindow(w), x, y);
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

static std::vector<std::string> warnings;
static XtErrorHandler previousHandler = nullptr;

static void catchWarning(String message) { warnings.push_back(message ? message : ""); }

WarningCatcher::WarningCatcher()
{
    warnings.clear();
    previousHandler = XtAppSetWarningHandler(testContext(), catchWarning);
}

WarningCatcher::~WarningCatcher() { XtAppSetWarningHandler(testContext(), previousHandler); }

int WarningCatcher::count() const { return static_cast<int>(warnings.size()); }

std::string WarningCatcher::last() const { return warnings.empty() ? "" : warnings.back(); }
