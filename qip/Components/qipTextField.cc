#include "qip/Components/qipTextField.h"

#include "qip/Components/qipTextField_impl.h"

int qipTextField::activate()
{
    int rc = _engine ? _engine->activate() : -1;
    if (rc == 0)
        _status = qipGadget_On;
    return rc;
}

int qipTextField::deactivate()
{
    int rc = _engine ? _engine->deactivate() : -1;
    if (rc == 0)
        _status = qipGadget_Off;
    return rc;
}

void qipTextField::text(const char* s)
{
    if (_engine)
        _engine->setText(s);
}

const char* qipTextField::text() const { return _engine ? _engine->text() : nullptr; }

void qipTextField::width(int w)
{
    if (_engine)
        _engine->width(w);
}

int qipTextField::valid() const
{
    const char* t = text();
    return t && *t ? 1 : 0;
}
