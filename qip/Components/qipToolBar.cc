#include "qip/Components/qipToolBar.h"

#include <Xm/Form.h>
#include <Xm/Xm.h>

#include <cassert>

void qipToolBar::install(qipVCell* parent)
{
    assert(parent != 0);
    _base = XtVaCreateManagedWidget(_name, xmFormWidgetClass, parent->clientArea(), XmNleftAttachment,
                                    XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
    _clientArea = _base;
    installDestroyHandler();
    // Groups added before the bar existed are chained now, in their order.
    List<qipVCell*> normal, help;
    for (ListIterator<qipVCell*> it(_normalGroups); it.valid(); it.next())
        normal.append(it.current());
    for (ListIterator<qipVCell*> it(_helpGroups); it.valid(); it.next())
        help.append(it.current());
    _normalGroups.clear();
    _helpGroups.clear();
    for (ListIterator<qipVCell*> it(normal); it.valid(); it.next())
        addGroup(it.current());
    for (ListIterator<qipVCell*> it(help); it.valid(); it.next())
        addHelpGroup(it.current());
}

void qipToolBar::addGroup(qipVCell* group)
{
    if (!group)
        return;
    if (!_base) {
        _normalGroups.append(group);
        return;
    }
    if (!group->baseWidget())
        group->install(this);
    qipVCell* last = _normalGroups.last();
    if (last && last->baseWidget())
        XtVaSetValues(group->baseWidget(), XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, last->baseWidget(),
                      nullptr);
    else
        XtVaSetValues(group->baseWidget(), XmNleftAttachment, XmATTACH_FORM, nullptr);
    _normalGroups.append(group);
}

void qipToolBar::addHelpGroup(qipVCell* group)
{
    if (!group)
        return;
    if (!_base) {
        _helpGroups.append(group);
        return;
    }
    if (!group->baseWidget())
        group->install(this);
    // Every help group hangs from its right side; a left attachment as well
    // would stretch it over the normal groups.
    qipVCell* last = _helpGroups.last();
    if (last && last->baseWidget())
        XtVaSetValues(group->baseWidget(), XmNleftAttachment, XmATTACH_NONE, XmNrightAttachment, XmATTACH_WIDGET,
                      XmNrightWidget, last->baseWidget(), nullptr);
    else
        XtVaSetValues(group->baseWidget(), XmNleftAttachment, XmATTACH_NONE, XmNrightAttachment, XmATTACH_FORM,
                      nullptr);
    _helpGroups.append(group);
}

void qipToolBar::removeGroup(qipVCell* group) { unchain(_normalGroups, group, XmNleftAttachment, XmNleftWidget); }

void qipToolBar::removeHelpGroup(qipVCell* group)
{
    unchain(_helpGroups, group, XmNrightAttachment, XmNrightWidget);
}

void qipToolBar::unchain(List<qipVCell*>& chain, qipVCell* group, const char* side, const char* sideWidget)
{
    List<qipVCell*>::Link* link = chain.find(group);
    if (!link)
        return;
    List<qipVCell*>::Link* prev = chain.before(link);
    List<qipVCell*>::Link* next = chain.after(link);
    if (next && next->_datum->baseWidget()) {
        Widget successor = next->_datum->baseWidget();
        Widget before = prev ? prev->_datum->baseWidget() : nullptr;
        if (before)
            XtVaSetValues(successor, side, XmATTACH_WIDGET, sideWidget, before, nullptr);
        else
            XtVaSetValues(successor, side, XmATTACH_FORM, nullptr);
    }
    // A group left managed would sit under its successor.
    if (group->baseWidget())
        XtUnmanageChild(group->baseWidget());
    chain.remove(group);
}
