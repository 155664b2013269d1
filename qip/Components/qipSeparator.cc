#include "qip/Components/qipSeparator.h"

#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

#include <cassert>

void qipSeparator::install(qipVCell* parent)
{
    assert(parent != 0);
    _base = XtVaCreateManagedWidget(_name, xmSeparatorGadgetClass, parent->clientArea(), nullptr);
    assert(_base != 0);
    _clientArea = _base;
    installDestroyHandler();
}
