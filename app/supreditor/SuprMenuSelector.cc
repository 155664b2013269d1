#include "app/supreditor/SuprMenuSelector.h"

#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cassert>
#include <cstdio>
#include <string>

#include "app/supreditor/SuprHeaders.h"

SuprChoiceBtn::SuprChoiceBtn(SuprMenuSelector* owner, const char* name, const char* label, int value)
    : qipTButton(name, label), _owner(owner), _value(value)
{
}

void SuprChoiceBtn::triggered() { _owner->chosen(_value); }

SuprMenuSelector::SuprMenuSelector(const char* name, SuprHeaders* owner)
    : qipVCell(name), _owner(owner), _posted(false), _chose(false), _check(0)
{
}

SuprMenuSelector::~SuprMenuSelector()
{
    if (_check)
        XtRemoveTimeOut(_check);
    if (_base)
        XtRemoveCallback(_base, XmNunmapCallback, unmap_cbk, this);
    for (ListIterator<SuprChoiceBtn*> i(_choices); i.valid(); i.next())
        delete i.current();
}

std::string SuprMenuSelector::nextChoiceName() const
{
    return std::string(_name) + "_" + std::to_string(_choices.length());
}

void SuprMenuSelector::addChoice(SuprChoiceBtn* choice)
{
    _choices.append(choice);
    if (_base)
        choice->install(this);
}

void SuprMenuSelector::install(qipVCell* parent)
{
    assert(parent != 0);
    // Posted by the editor itself, on a click: Motif refuses to post a menu
    // by hand that it also posts on its own button.
    Arg args[1];
    XtSetArg(args[0], XmNpopupEnabled, XmPOPUP_DISABLED);
    _base = XmCreatePopupMenu(parent->clientArea(), _name, args, 1);
    assert(_base != 0);
    _clientArea = _base;
    installDestroyHandler();
    XtAddCallback(_base, XmNunmapCallback, unmap_cbk, this);
    for (ListIterator<SuprChoiceBtn*> i(_choices); i.valid(); i.next())
        i.current()->install(this);
}

void SuprMenuSelector::destroyed()
{
    _posted = false;
    qipVCell::destroyed();
}

SuprChoiceBtn* SuprMenuSelector::choiceFor(int value) const
{
    for (ListIterator<SuprChoiceBtn*> i(_choices); i.valid(); i.next())
        if (i.current()->value() == value)
            return i.current();
    return nullptr;
}

int SuprMenuSelector::post(int x, int y, int preset)
{
    if (!_base)
        return -1;
    SuprChoiceBtn* entry = choiceFor(preset);
    if (entry && entry->baseWidget())
        XtVaSetValues(_base, XmNmenuHistory, entry->baseWidget(), nullptr);
    // The menu is placed as by a press at (x, y): Motif only reads the
    // root position of the event.
    XButtonPressedEvent event = {};
    event.type = ButtonPress;
    event.x_root = x;
    event.y_root = y;
    event.button = 1;
    XmMenuPosition(_base, &event);
    _chose = false;
    _posted = true;
    XtManageChild(_base);
    return 0;
}

void SuprMenuSelector::close()
{
    _chose = true;
    _posted = false;
    if (_base && XtIsManaged(_base))
        XtUnmanageChild(_base);
}

void SuprMenuSelector::chosen(int value)
{
    // The menu goes first: the editor redraws the list under it.
    close();
    report(value);
}

void SuprMenuSelector::unmapped()
{
    _posted = false;
    if (_chose || !_base)
        return;
    // Motif unposts the menu before it activates the entry: wait a turn of
    // the event loop before taking the close for a cancel.
    if (!_check)
        _check = XtAppAddTimeOut(XtWidgetToApplicationContext(_base), 0, check_to, this);
}

void SuprMenuSelector::checkCancel()
{
    _check = 0;
    if (!_chose && !_posted)
        _owner->cancelEdit();
}

void SuprMenuSelector::unmap_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<SuprMenuSelector*>(clientData)->unmapped();
}

void SuprMenuSelector::check_to(XtPointer clientData, XtIntervalId*)
{
    static_cast<SuprMenuSelector*>(clientData)->checkCancel();
}

// ---- the item and severity menus -------------------------------------------

SuprItemBtn::SuprItemBtn(SuprMenuSelector* owner, const char* name, int item)
    : SuprChoiceBtn(owner, name, item ? std::to_string(item).c_str() : "*", item)
{
}

static const char* const severityLabels[] = {"* ", "I ", "PV", "V ", "PSV", "SV"};

SuprSevBtn::SuprSevBtn(SuprMenuSelector* owner, const char* name, int severity)
    : SuprChoiceBtn(owner, name, severityLabels[severity >= 0 && severity <= 5 ? severity : 0], severity)
{
}

// The rule items the analyser checks; 23 is among what lumox-zx reports.
static const int menuItems[] = {2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 20, 22, 23, 25, 29, 30, 31, 37, 38, 39};

SuprItemSelector::SuprItemSelector(SuprHeaders* owner) : SuprMenuSelector("suprItem", owner)
{
    for (int item : menuItems)
        addChoice(new SuprItemBtn(this, nextChoiceName().c_str(), item));
    addChoice(new SuprItemBtn(this, nextChoiceName().c_str(), 0));
}

int SuprItemSelector::getItem(int x, int y, int item)
{
    // Items of the menu (all below 50) preset themselves; any other "*".
    return post(x, y, item > 0 && item < 50 && choiceFor(item) ? item : 0);
}

void SuprItemSelector::report(int value) { _owner->newItemField(value); }

SuprSevSelector::SuprSevSelector(SuprHeaders* owner) : SuprMenuSelector("suprSev", owner)
{
    for (int s = 0; s <= 5; ++s)
        addChoice(new SuprSevBtn(this, nextChoiceName().c_str(), s));
}

int SuprSevSelector::getSeverity(int x, int y, int severity)
{
    return post(x, y, severity >= 0 && severity <= 5 ? severity : 0);
}

void SuprSevSelector::report(int value) { _owner->newSeverityField(value); }
