#include "qip/Components/qipToolGroup.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cassert>
#include <string>

void qipToolGroup::install(qipVCell* parent)
{
    assert(parent != 0);
    _base = XtVaCreateManagedWidget(_name, xmFrameWidgetClass, parent->clientArea(), XmNshadowType, XmSHADOW_OUT,
                                    XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, nullptr);
    std::string work = std::string(_name) + "_work";
    _clientArea = XtVaCreateManagedWidget(work.c_str(), xmRowColumnWidgetClass, _base, XmNorientation,
                                          XmHORIZONTAL, XmNpacking, XmPACK_TIGHT, XmNmarginWidth, 2,
                                          XmNmarginHeight, 2, XmNspacing, 2, nullptr);
    installDestroyHandler();
    for (ListIterator<qipVCell*> it(_buttons); it.valid(); it.next())
        it.current()->install(this);
}

void qipToolGroup::addTool(qipVCell* tool)
{
    if (!tool)
        return;
    _buttons.append(tool);
    if (_clientArea)
        tool->install(this);
}
