#include "qip/Components/qipHelpMenuPane.h"

#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

void qipHelpMenuPane::install(qipVCell* parent)
{
    qipMenuPane::install(parent);
    if (_pane)
        XtVaSetValues(parent->clientArea(), XmNmenuHelpWidget, _pane, nullptr);
}
