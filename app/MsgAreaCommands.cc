#include <Xm/Form.h>
#include <Xm/Xm.h>

#include "app/MsgArea.h"
#include "app/TorvaneBtn.h"

void MsgArea::install(qipVCell* parent)
{
    _base = XtVaCreateManagedWidget(_name, xmFormWidgetClass, parent->clientArea(), nullptr);
    _clientArea = _base;
    installDestroyHandler();
    deactivateBtns();
}

int MsgArea::next() { return 0; }
int MsgArea::prev() { return 0; }
int MsgArea::del() { return 0; }
int MsgArea::load() { return 0; }
int MsgArea::save() { return 0; }
int MsgArea::saveAs() { return 0; }
int MsgArea::sort() { return 0; }
int MsgArea::suppress() { return 0; }
int MsgArea::rebuild() { return 0; }
void MsgArea::newSelection(NetClient*, NetMsg*) {}
void MsgArea::updateBuildBtn(NetClient*) {}

// A button starts switched off while there are no messages to act on.
template <class B>
void MsgArea::initBtn(B* b)
{
    if (_nMessages == 0)
        b->deactivate();
    else
        b->activate();
}

void MsgArea::registerBtn(NextBtn* b) { _nextBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(PrevBtn* b) { _prevBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(DelBtn* b) { _delBtns.append(b), initBtn(b); }
// Load and Exit are always available: nothing needs messages for them.
void MsgArea::registerBtn(LoadBtn* b) { _loadBtns.append(b), b->activate(); }
void MsgArea::registerBtn(SaveBtn* b) { _saveBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(SaveAsBtn* b) { _saveAsBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(SortBtn* b) { _sortBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(SuprBtn* b) { _suprBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(BuildBtn* b) { _buildBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(ExitBtn* b) { _exitBtns.append(b), b->activate(); }

template <class B>
static void switchAll(const List<B*>& buttons, bool on)
{
    for (ListIterator<B*> it(buttons); it.valid(); it.next())
        on ? it.current()->activate() : it.current()->deactivate();
}

// Load and Exit stay as they are: they make sense with no messages.
void MsgArea::activateBtns()
{
    switchAll(_nextBtns, true);
    switchAll(_prevBtns, true);
    switchAll(_delBtns, true);
    switchAll(_saveBtns, true);
    switchAll(_saveAsBtns, true);
    switchAll(_sortBtns, true);
    switchAll(_suprBtns, true);
    switchAll(_buildBtns, true);
}

void MsgArea::deactivateBtns()
{
    switchAll(_nextBtns, false);
    switchAll(_prevBtns, false);
    switchAll(_delBtns, false);
    switchAll(_saveBtns, false);
    switchAll(_saveAsBtns, false);
    switchAll(_sortBtns, false);
    switchAll(_suprBtns, false);
    switchAll(_buildBtns, false);
}
