#include "qip/Components/qipOptionMenu.h"

#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cassert>

void qipOptionMenu::install(qipVCell* parent)
{
    createPulldown(parent);
    Widget pulldown = _base;
    XmString s = XmStringCreateLocalized(const_cast<char*>(_label ? _label : ""));
    Arg args[4];
    int n = 0;
    XtSetArg(args[n], XmNlabelString, s), n++;
    XtSetArg(args[n], XmNsubMenuId, pulldown), n++;
    XtSetArg(args[n], XmNmarginHeight, 0), n++;
    XtSetArg(args[n], XmNmarginWidth, 0), n++;
    Widget option = XmCreateOptionMenu(parent->clientArea(), _name, args, n);
    XmStringFree(s);
    assert(option != 0);
    if (_mnemonic)
        XtVaSetValues(option, XmNmnemonic, (KeySym)_mnemonic, nullptr);
    installItems();
    XtManageChild(option);
    _base = option;
    installDestroyHandler();
}

int qipOptionMenu::select(qipVCell* entry)
{
    if (!_base || !entry || !entry->baseWidget())
        return -1;
    bool found = false;
    for (ListIterator<qipMenuPane_item*> it(_buttons); it.valid() && !found; it.next())
        found = it.current()->_btn == entry;
    if (!found)
        return -1;
    XtVaSetValues(_base, XmNmenuHistory, entry->baseWidget(), nullptr);
    return 0;
}
