#include <Xm/Form.h>
#include <Xm/Xm.h>

#include "app/MsgArea.h"

void MsgArea::install(qipVCell* parent)
{
    _base = XtVaCreateManagedWidget(_name, xmFormWidgetClass, parent->clientArea(), nullptr);
    _clientArea = _base;
    installDestroyHandler();
}
