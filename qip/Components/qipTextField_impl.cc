#include "qip/Components/qipTextField_impl.h"

#include <cstdlib>
#include <cstring>

qipTextField_impl::qipTextField_impl(const char* name, qipTextField* client)
    : qipVCell(name), _text(nullptr), _width(0), _client(client)
{
}

qipTextField_impl::~qipTextField_impl() { free(_text); }

void qipTextField_impl::triggerSensor()
{
    if (_client)
        _client->eventDetected();
}

void qipTextField_impl::setText(const char* s)
{
    char* copy = s ? strdup(s) : nullptr;
    free(_text);
    _text = copy;
}
