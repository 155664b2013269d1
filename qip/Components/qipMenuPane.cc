#include "qip/Components/qipMenuPane.h"

#include <Xm/CascadeB.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cassert>
#include <cstdlib>
#include <cstring>

#include "qip/Components/qipSeparator.h"

qipMenuPane_item::~qipMenuPane_item()
{
    if (_owned)
        delete _btn;
}

qipMenuPane::qipMenuPane(const char* label, char mnemonic, const char* name)
    : qipVCell(name), _label(label ? strdup(label) : nullptr), _mnemonic(mnemonic), _pane(nullptr)
{
}

qipMenuPane::~qipMenuPane()
{
    for (ListIterator<qipMenuPane_item*> it(_buttons); it.valid(); it.next())
        delete it.current();
    free(_label);
}

void qipMenuPane::setLabel(const char* label)
{
    char* copy = label ? strdup(label) : nullptr;
    free(_label);
    _label = copy;
    if (_pane && _label) {
        XmString s = XmStringCreateLocalized(_label);
        XtVaSetValues(_pane, XmNlabelString, s, nullptr);
        XmStringFree(s);
    }
}

void qipMenuPane::addButton(qipVCell* btn, char mnemonic)
{
    if (!btn)
        return;
    qipMenuPane_item* item = new qipMenuPane_item(btn, mnemonic);
    _buttons.append(item);
    if (_base)
        installItem(item);
}

void qipMenuPane::addSeparator()
{
    qipMenuPane_item* item = new qipMenuPane_item(new qipSeparator("Separator"), 0, true);
    _buttons.append(item);
    if (_base)
        installItem(item);
}

void qipMenuPane::createPulldown(qipVCell* parent)
{
    assert(parent != 0);
    _base = XmCreatePulldownMenu(parent->clientArea(), _name, nullptr, 0);
    assert(_base != 0);
    _clientArea = _base;
}

void qipMenuPane::install(qipVCell* parent)
{
    createPulldown(parent);
    installDestroyHandler();
    _pane = XtVaCreateManagedWidget(_name, xmCascadeButtonWidgetClass, parent->clientArea(), XmNsubMenuId, _base,
                                    nullptr);
    if (_mnemonic)
        XtVaSetValues(_pane, XmNmnemonic, (KeySym)_mnemonic, nullptr);
    if (_label) {
        XmString s = XmStringCreateLocalized(_label);
        XtVaSetValues(_pane, XmNlabelString, s, nullptr);
        XmStringFree(s);
    }
    installItems();
}

void qipMenuPane::installItems()
{
    for (ListIterator<qipMenuPane_item*> it(_buttons); it.valid(); it.next())
        installItem(it.current());
}

void qipMenuPane::installItem(qipMenuPane_item* item)
{
    item->_btn->install(this);
    Widget w = item->_btn->baseWidget();
    if (w && item->_mnemonic)
        XtVaSetValues(w, XmNmnemonic, (KeySym)item->_mnemonic, nullptr);
}

void qipMenuPane::destroyed()
{
    _pane = nullptr;
    qipVCell::destroyed();
}
