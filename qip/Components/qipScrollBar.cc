#include "qip/Components/qipScrollBar.h"

#include <Xm/ScrollBar.h>
#include <Xm/Xm.h>

#include <cassert>

// The page increment leaves one cell of the old page visible.
static int pageIncrement(int page) { return page < 2 ? 1 : page - 1; }

qipScrollBar::qipScrollBar(const char* name, qipScrolledWindow* client, char orientation)
    : qipVCell(name), _client(client), _curValue(0), _maxValue(1), _pageLength(1), _orientation(orientation)
{
}

qipScrollBar::~qipScrollBar()
{
    if (_base) {
        XtRemoveCallback(_base, XmNvalueChangedCallback, scroll_cbk, this);
        XtRemoveCallback(_base, XmNdragCallback, scroll_cbk, this);
    }
}

void qipScrollBar::install(qipVCell* parent)
{
    assert(parent != 0 && parent->clientArea() != 0);
    int max = _maxValue < 1 ? 1 : _maxValue;
    int page = _pageLength < 1 ? 1 : (_pageLength > max ? max : _pageLength);
    int value = _curValue < 0 ? 0 : (_curValue > max - page ? max - page : _curValue);
    _base = XtVaCreateManagedWidget(_name, xmScrollBarWidgetClass, parent->clientArea(), XmNminimum, 0,
                                    XmNmaximum, max, XmNvalue, value, XmNsliderSize, page, XmNpageIncrement,
                                    pageIncrement(page), XmNorientation, (unsigned char)_orientation, nullptr);
    assert(_base != 0);
    _clientArea = _base;
    // Arrow and trough clicks fall back to the value-changed list when
    // their own lists are empty, so these two lists see every move.
    XtAddCallback(_base, XmNvalueChangedCallback, scroll_cbk, this);
    XtAddCallback(_base, XmNdragCallback, scroll_cbk, this);
    installDestroyHandler();
}

void qipScrollBar::adjustValues(int value, int max, int page)
{
    _curValue = value;
    _maxValue = max;
    _pageLength = page;
    update();
}

void qipScrollBar::currentValue(int value)
{
    _curValue = value;
    update();
}

void qipScrollBar::maxValue(int max)
{
    _maxValue = max;
    update();
}

void qipScrollBar::pageLength(int page)
{
    _pageLength = page;
    update();
}

void qipScrollBar::update()
{
    if (!_base)
        return;
    // Motif refuses (with a warning) a slider outside the range; the numbers
    // kept here stay as given, the widget gets the nearest legal ones.
    int max = _maxValue < 1 ? 1 : _maxValue;
    int page = _pageLength < 1 ? 1 : (_pageLength > max ? max : _pageLength);
    int value = _curValue > max - page ? max - page : _curValue;
    if (value < 0)
        value = 0;
    XtVaSetValues(_base, XmNminimum, 0, XmNmaximum, max, XmNvalue, value, XmNsliderSize, page, XmNpageIncrement,
                  pageIncrement(page), nullptr);
}

void qipScrollBar::scroll_cbk(Widget, XtPointer clientData, XtPointer callData)
{
    static_cast<qipScrollBar*>(clientData)->scroll(static_cast<XmScrollBarCallbackStruct*>(callData)->value);
}
