#include "qip/Components/qipTButton.h"

#include <cassert>

#include "qip/Components/qipIcon.h"
#include "qip/Components/qipTButton_X.h"
#include "qip/Components/qipToggleBtn_X.h"

qipTButton::qipTButton(const char* name, const char* label, char** icon, char** iconDisabled)
    : qipVCell(name), _btn(new Sensor(this)), _engn(nullptr)
{
    _engn = new qipTButton_X(name, _btn);
    _engn->setLabel(label);
    _engn->setImage(icon, iconDisabled);
}

qipTButton::~qipTButton()
{
    delete _engn;
    delete _btn;
}

void qipTButton::install(qipVCell* parent)
{
    assert(_engn != 0);
    _engn->install(parent);
    _base = _engn->baseWidget();
    _clientArea = _engn->clientArea();
    // The cell follows its widget too, so that it never touches a dead one.
    installDestroyHandler();
    installHelpHandler();
}

int qipTButton::activate() { return _btn->activate(); }

int qipTButton::deactivate() { return _btn->deactivate(); }

void qipTButton::setLabel(const char* label) { _engn->setLabel(label); }

void qipTButton::setImage(char** icon, char** iconDisabled) { _engn->setImage(icon, iconDisabled); }

void qipTButton::updateLabel(const char* label) { _engn->updateLabel(label); }

void qipTButton::engine(qipTButton_X* e)
{
    assert(e != 0);
    // A new engine after install would leave the widgets without one.
    assert(_base == 0);
    if (e == _engn)
        return;
    delete _engn;
    _engn = e;
    _engn->client(_btn);
    _btn->engine(_engn);
}

qipToggleBtn_X* qipTButton::makeToggle(char** iconOn, const char* lblOff)
{
    qipToggleBtn_X* t = new qipToggleBtn_X(_engn->name(), _btn);
    char** icon = _engn->icon() ? _engn->icon()->data() : nullptr;
    char** iconDisabled = _engn->iconDisabled() ? _engn->iconDisabled()->data() : nullptr;
    t->setImage(icon, iconOn, iconDisabled);
    t->setLabels(_engn->label(), lblOff);
    engine(t);
    return t;
}
