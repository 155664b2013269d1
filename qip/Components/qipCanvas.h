#pragma once

#include <X11/Intrinsic.h>

#include "qip/Components/qipScrolledWindow.h"

// A double-buffered drawing surface in a scrolled window. Each render builds a
// new pixmap the size of the view (one spare cell each way), filled with the
// background, lets the subclass draw the view's cells into it with refresh(),
// adds a two-line bevel and copies it to the drawing area. The cost of a
// render is that of the visible cells, never of the whole content. The canvas
// owns its drawing area callbacks, pixmaps and graphics context.
class qipCanvas : public qipScrolledWindow {
public:
    explicit qipCanvas(const char* name);
    ~qipCanvas() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "qipCanvas"; }

    int render(qipView v) override;
    int render() override { return render(_view); }
    // Copies the current picture to the window.
    virtual void refreshDisplay();
    // Draws the cells of `v` into `d`. Cell (col, line) of the content lies at
    // pixel ((col - v._x) * _hPixels, (line - v._y) * _vPixels) of `d`, which
    // is already filled with the background.
    virtual void refresh(Drawable d, qipView v) = 0;

    // Pixel size of one cell; the view is fitted to the window again.
    void setCellSize(int hPixels, int vPixels);
    // Shows keyboard focus on the drawing area's border: its highlight colour
    // while it has the focus, its parent's background otherwise.
    void focusBorder(bool in);

    // The drawing area (also the client area); null until installed.
    Widget drawingArea() const { return _clientArea != _base ? _clientArea : nullptr; }
    Display* display() const { return _display; }
    GC gc() const { return _gc; }
    int hPixels() const { return _hPixels; }
    int vPixels() const { return _vPixels; }
    Pixel background() const { return _bg; }
    Pixel foreground() const { return _fg; }
    Pixel topShadow() const { return _topShadow; }
    Pixel bottomShadow() const { return _botShadow; }
    // The picture now on screen (0 before the first render).
    Pixmap currentPicture() const { return _currentView; }

protected:
    // Sets up `_gc` for refresh(): foreground `_fg`, background `_bg`.
    virtual void prepareGC();
    // The view fitted to the drawing area's pixel size, in whole cells.
    void fitViewToWindow();
    void drawBevel(Drawable d, int width, int height);
    void freePictures();

    GC _gc;
    Pixmap _currentView;
    Pixmap _newView;
    int _hPixels;
    int _vPixels;
    Pixel _bg;
    Pixel _fg;
    Pixel _topShadow;
    Pixel _botShadow;
    Display* _display;
    int _pictureWidth;
    int _pictureHeight;

private:
    void exposed(XEvent* event);
    void resized();
    void drawingAreaDestroyed();
    static void expose_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void resize_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void areaDestroy_cbk(Widget w, XtPointer clientData, XtPointer callData);
};
