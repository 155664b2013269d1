#pragma once

#include <X11/Intrinsic.h>
#include <X11/xpm.h>

class qipVCell;

// A pixmap made from XPM data compiled into the program, for one widget's
// display, colormap, depth and background: colours declared with the symbol
// "background" take the widget's background. The icon owns its pixmap and
// mask, not the XPM data. All icons draw through one shared graphics context.
class qipIcon {
public:
    explicit qipIcon(char** xpmData);
    ~qipIcon();

    // Builds the pixmap for target's base widget; nothing happens when the
    // cell has no widget.
    void install(qipVCell* target);
    // The same for a widget that is not a cell's base (a button inside a form).
    void install(Widget w);
    // Draws the icon at (x, y) of d, through the mask when there is one.
    void render(Drawable d, int x, int y);

    char** data() const { return _data; }
    Pixmap image() const { return _image; }
    Pixmap mask() const { return _mask; }
    unsigned int width() const { return _attributes.width; }
    unsigned int height() const { return _attributes.height; }

private:
    qipIcon(const qipIcon&) = delete;
    qipIcon& operator=(const qipIcon&) = delete;
    void release();

    char** _data;
    Widget _base;
    Display* _display;  // kept apart from _base: the pixmaps outlive the widget
    Pixmap _image;
    Pixmap _mask;
    XpmAttributes _attributes;

    static GC _gc;
};
