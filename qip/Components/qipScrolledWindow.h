#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Components/qipView.h"

class qipHorizScrollBar;
class qipVertScrollBar;

// A Motif scrolled window with application-defined scrolling over content
// measured in character cells. It keeps the visible rectangle `_view` clamped
// to the content size and the two scroll bars (which it owns) in step with
// it. What is drawn, and when, belongs to the subclasses' render().
class qipScrolledWindow : public qipVCell {
public:
    explicit qipScrolledWindow(const char* name);
    ~qipScrolledWindow() override;

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipScrolledWindow"; }

    // Make `line` the first visible line / `col` the first visible column.
    virtual void vertScroll(int line);
    virtual void horizScroll(int col);
    // Scroll by `n` lines / columns (negative: up / left).
    virtual void vertIScroll(int n);
    virtual void horizIScroll(int n);
    // Clamps `v` to the content, stores it and updates both bars.
    virtual void setView(qipView v);
    // Draw `v` / the current view; 0 when drawn, -1 when nothing could be.
    virtual int render(qipView v) = 0;
    virtual int render() = 0;

    void viewPosition(int x, int y);
    void viewSize(int dx, int dy);
    // The content size in cells; values below 1 become 1. Re-clamps the view.
    void resizeCanvas(int width, int height);
    // Non-zero: content smaller than the view is centred rather than put at 0.
    void centerWhenOversize(int on) { _centerWhenOversize = on; }

    const qipView& view() const { return _view; }
    int canvasWidth() const { return _canvasWidth; }
    int canvasHeight() const { return _canvasHeight; }
    qipHorizScrollBar* horizScrollBar() const { return _hsb; }
    qipVertScrollBar* vertScrollBar() const { return _vsb; }

protected:
    qipVertScrollBar* _vsb;
    qipHorizScrollBar* _hsb;
    qipView _view;
    int _canvasWidth;
    int _canvasHeight;
    int _centerWhenOversize;

private:
    qipScrolledWindow(const qipScrolledWindow&) = delete;
    qipScrolledWindow& operator=(const qipScrolledWindow&) = delete;
};
