#pragma once

// A rectangle of character cells: the first visible column `_x` and line `_y`,
// and the visible width `_dx` (columns) and height `_dy` (lines). Panes receive
// the view they must draw in refresh(); positions may be negative when short
// content is centred in a larger view.
struct qipView {
    qipView() : _x(0), _y(0), _dx(0), _dy(0) {}
    qipView(int x, int y, int dx, int dy) : _x(x), _y(y), _dx(dx), _dy(dy) {}

    bool operator==(const qipView& o) const { return _x == o._x && _y == o._y && _dx == o._dx && _dy == o._dy; }
    bool operator!=(const qipView& o) const { return !(*this == o); }
    bool empty() const { return _dx <= 0 || _dy <= 0; }

    int _x;
    int _y;
    int _dx;
    int _dy;
};
