#include "qip/Components/qipVCell.h"

#include <Xm/Xm.h>

#include <cassert>
#include <cstdlib>
#include <cstring>

// Shells and other non-Motif widgets have no help callback list.
static bool hasHelpCallback(Widget w) { return XmIsPrimitive(w) || XmIsManager(w) || XmIsGadget(w); }

static char* copyName(const char* n) { return n ? strdup(n) : nullptr; }

qipVCell::qipVCell(const char* name) : _name(nullptr), _base(nullptr), _clientArea(nullptr)
{
    assert(name != 0);
    _name = copyName(name);
}

qipVCell::qipVCell(const qipVCell& other)
    : _name(copyName(other._name)), _base(other._base), _clientArea(other._clientArea)
{
}

qipVCell& qipVCell::operator=(const qipVCell& other)
{
    if (this != &other) {
        setName(other._name);
        _base = other._base;
        _clientArea = other._clientArea;
    }
    return *this;
}

qipVCell::~qipVCell()
{
    if (_base) {
        XtRemoveCallback(_base, XmNdestroyCallback, destroy_cbk, this);
        if (hasHelpCallback(_base))
            XtRemoveCallback(_base, XmNhelpCallback, help_cbk, this);
    }
    free(_name);
}

void qipVCell::setName(const char* n)
{
    char* copy = copyName(n);
    free(_name);
    _name = copy;
}

void qipVCell::install(qipVCell*) {}

void qipVCell::installDestroyHandler()
{
    assert(_base != 0);
    XtAddCallback(_base, XmNdestroyCallback, destroy_cbk, this);
}

void qipVCell::installHelpHandler()
{
    assert(_base != 0);
    if (hasHelpCallback(_base))
        XtAddCallback(_base, XmNhelpCallback, help_cbk, this);
}

void qipVCell::destroyed()
{
    _base = nullptr;
    _clientArea = nullptr;
    free(_name);
    _name = nullptr;
}

void qipVCell::manage()
{
    assert(_base != (Widget)0);
    assert(XtHasCallbacks(_base, XmNdestroyCallback) == XtCallbackHasSome);
    XtManageChild(_base);
}

void qipVCell::unmanage()
{
    assert(_base != (Widget)0);
    XtUnmanageChild(_base);
}

void qipVCell::destroy_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<qipVCell*>(clientData)->destroyed();
}

void qipVCell::help_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<qipVCell*>(clientData)->helpRequested();
}
