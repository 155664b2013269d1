#include "qip/Components/qipMenuBar.h"

#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cassert>

#include "qip/Components/qipMenuPane.h"

void qipMenuBar::install(qipVCell* parent)
{
    assert(parent != 0);
    _base = XmCreateMenuBar(parent->clientArea(), _name, nullptr, 0);
    assert(_base != 0);
    XtManageChild(_base);
    _clientArea = _base;
    installDestroyHandler();
    for (ListIterator<qipMenuPane*> it(_menuPanes); it.valid(); it.next())
        it.current()->install(this);
}

void qipMenuBar::addPane(qipMenuPane* pane)
{
    if (!pane)
        return;
    _menuPanes.append(pane);
    if (_base)
        pane->install(this);
}
