#include "qip/Common/TextField.h"

#include <cstdio>

#include "qip/Components/qipTextField_X.h"

TextField::TextField(const char* name) : qipVCell(name), _textField(nullptr), _engine(nullptr)
{
    _textField = new Sensor(this);
    _engine = new qipTextField_X(name, _textField);
    _textField->engine(_engine);
}

TextField::~TextField()
{
    delete _engine;
    delete _textField;
}

void TextField::install(qipVCell* parent)
{
    if (!_engine || !parent)
        return;
    _engine->install(parent);
    _base = _engine->baseWidget();
    _clientArea = _engine->clientArea();
    if (_base)
        installDestroyHandler();
}

void TextField::triggered()
{
    const char* t = text();
    fprintf(stderr, "TextField::triggered: %s\n", t ? t : "");
    _textField->deactivate();
    if (_base)
        unmanage();
}
