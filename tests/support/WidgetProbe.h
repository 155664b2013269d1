#pragma once

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

namespace lumox_test {

// Read-only looks at realized widgets for in-process widget tests, and a
// real click on one.

// The text of a Motif label or button, whatever its font tags.
std::string labelText(Widget w);
// The pixel at (x, y) of a widget's window, after the server has done all
// that was asked of it; or of any drawable.
unsigned long pixelAt(Widget w, int x, int y);
unsigned long drawablePixel(Display* d, Drawable p, int x, int y);
// How many pixels of the rectangle are `pixel`.
int countPixels(Display* d, Drawable p, int x, int y, int width, int height, unsigned long pixel);
// Position of w relative to `ancestor`; outer size with the border.
void positionIn(Widget w, Widget ancestor, int& x, int& y);
int widthOf(Widget w);
int heightOf(Widget w);
// Root coordinates of the point (x, y) of a widget's window.
void rootPoint(Widget w, int x, int y, int& rx, int& ry);
bool isViewable(Widget w);
// A real pointer click (XTEST) in the middle of w.
void clickOn(Widget w);
// Gives the keyboard to w: the X focus to its shell (no window manager
// runs on a test server), the Motif focus to the widget, and the pointer
// over it, since keys go to the window under the pointer inside the focus.
void focusOn(Widget w);

// Records X Toolkit warnings of `context` while it exists.
class WarningCatcher {
public:
    explicit WarningCatcher(XtAppContext context);
    ~WarningCatcher();
    const std::vector<std::string>& warnings() const;

private:
    XtAppContext _context;
    XtErrorHandler _previous;
};

}  // namespace lumox_test
