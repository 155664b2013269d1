#pragma once

#include <X11/Xlib.h>

#include "qip/Components/qipCanvas.h"

// A canvas whose cells are characters of one core X font: a column is the
// font's widest character and lines are 1.4 times the font's height apart.
// It owns the loaded font; before refresh() the graphics context already
// holds that font and the text colour.
class qipTCanvas : public qipCanvas {
public:
    explicit qipTCanvas(const char* name);
    ~qipTCanvas() override;

    // "Fixed" when no font was set.
    void install(qipVCell* parent) override;
    const char* className() const override { return "qipTCanvas"; }

    // Loads a core font and sets the cell size from it; 0, or -1 (nothing
    // changes) for a null or empty name or a font the server does not have.
    int setFont(const char* name);
    // The text colour by name; -1 before installation.
    int setTextColor(const char* name);
    // Digits of `n` written in `base` (at least 1), to size numeric columns.
    static int repWidth(unsigned long n, int base);

    Font font() const { return _font; }
    const XFontStruct* fontInfo() const { return _fontInfo; }
    Pixel textColor() const { return _textColor; }
    int charWidth() const { return _Xpxls; }
    int charHeight() const { return _Ypxls; }
    int baseline() const { return _baseline; }

protected:
    void prepareGC() override;

    Font _font;
    XFontStruct* _fontInfo;
    Pixel _textColor;
    int _Xpxls;
    int _Ypxls;
    int _baseline;
};
