#pragma once

#include <X11/Intrinsic.h>

#include <string>

// Read-only looks at widgets for the toolkit's widget tests.

// The text of a Motif label or button, whatever its font tags.
std::string labelText(Widget w);
// The pixel at (x, y) of a realized widget's window, or of a pixmap.
unsigned long windowPixel(Widget w, int x, int y);
unsigned long drawablePixel(Display* d, Drawable p, int x, int y);
// Position of w relative to `ancestor`.
void positionIn(Widget w, Widget ancestor, int& x, int& y);
int widthOf(Widget w);
int heightOf(Widget w);
// Records X Toolkit warnings while it exists.
class WarningCatcher {
public:
    WarningCatcher();
    ~WarningCatcher();
    int count() const;
    std::string last() const;
};
