#include "app/supreditor/SuprWinBtn.h"

#include "app/messages/Icons.h"
#include "app/supreditor/SuprHeaders.h"
#include "app/supreditor/SuprIcons.h"
#include "qip/Common/HelpWindow.h"

SuprWinBtn::SuprWinBtn(SuprHeaders* owner, Method method, const char* name, const char* label, char** icon,
                       char** iconDisabled)
    : qipTButton(name, label, icon, iconDisabled), _owner(owner), _method(method)
{
}

void SuprWinBtn::triggered() { (_owner->*_method)(); }

void SuprWinBtn::helpRequested() const { HelpWindow::showHelpOn("zx-supr"); }

SuprNext::SuprNext(SuprHeaders* o)
    : SuprWinBtn(o, &SuprHeaders::next, "next", "next", Icons::next(), Icons::nextDisabled())
{
}

SuprPrev::SuprPrev(SuprHeaders* o)
    : SuprWinBtn(o, &SuprHeaders::prev, "prev", "prev", Icons::prev(), Icons::prevDisabled())
{
}

SuprDel::SuprDel(SuprHeaders* o)
    : SuprWinBtn(o, &SuprHeaders::del, "del", "del", Icons::remove(), Icons::removeDisabled())
{
}

SuprNew::SuprNew(SuprHeaders* o)
    : SuprWinBtn(o, &SuprHeaders::create, "new", "new", SuprIcons::create(), SuprIcons::createDisabled())
{
}

SuprDown::SuprDown(SuprHeaders* o)
    : SuprWinBtn(o, &SuprHeaders::down, "down", "down", SuprIcons::down(), SuprIcons::downDisabled())
{
}

SuprUp::SuprUp(SuprHeaders* o) : SuprWinBtn(o, &SuprHeaders::up, "up", "up", SuprIcons::up(), SuprIcons::upDisabled())
{
}

SuprSave::SuprSave(SuprHeaders* o)
    : SuprWinBtn(o, &SuprHeaders::save, "save", "save", SuprIcons::save(), SuprIcons::saveDisabled())
{
}
