#pragma once

#include "qip/Components/qipVCell.h"

class qipScrolledWindow;

// One scroll bar of a scrolled window: a Motif scroll bar whose range is the
// content size in cells and whose slider is the visible part. The bar keeps
// its three numbers even before it has a widget; the user moving the slider
// reaches scroll(), which subclasses turn into a scroll of their client (not
// owned) in their direction.
class qipScrollBar : public qipVCell {
public:
    qipScrollBar(const char* name, qipScrolledWindow* client, char orientation);
    ~qipScrollBar() override;

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipScrollBar"; }
    virtual void scroll(int value) = 0;

    // Value, range 0..max and slider size, in one request to the widget.
    void adjustValues(int value, int max, int page);
    void currentValue(int value);
    void maxValue(int max);
    void pageLength(int page);

    int currentValue() const { return _curValue; }
    int maxValue() const { return _maxValue; }
    int pageLength() const { return _pageLength; }
    char orientation() const { return _orientation; }
    qipScrolledWindow* client() const { return _client; }

protected:
    // Pushes the stored numbers to the widget, if there is one.
    void update();

    qipScrolledWindow* _client;
    int _curValue;
    int _maxValue;
    int _pageLength;
    char _orientation;

private:
    qipScrollBar(const qipScrollBar&) = delete;
    qipScrollBar& operator=(const qipScrollBar&) = delete;
    static void scroll_cbk(Widget w, XtPointer clientData, XtPointer callData);
};
