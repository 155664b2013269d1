#include "qip/Components/qipTextField.h"

#include <cassert>

#include "qip/Components/qipTextField_impl.h"

int qipTextField::activate()
{
    assert(_engine != 0);
    int rc = _engine->activate();
    if (rc == 0)
        _status = qipGadget_On;
    return rc;
}

int qipTextField::deactivate()
{
    assert(_engine != 0);
    int rc = _engine->deactivate();
    if (rc == 0)
        _status = qipGadget_Off;
    return rc;
}

void qipTextField::text(const char* s)
{
    assert(_engine != 0);
    _engine->setText(s);
}

const char* qipTextField::text() const { return _engine ? _engine->text() : nullptr; }

void qipTextField::width(int w)
{
    assert(_engine != 0);
    _engine->width(w);
}

int qipTextField::valid() const
{
    const char* t = text();
    return t && *t ? 1 : 0;
}
