#include "qip/Components/qipCommand.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qip/Monitors/qipSensor.h"

static char* commandName(const char* name)
{
    if (!name) {
        fprintf(stderr, "*** Internal Error: Attempt to construct a nameless Command. QCMD:ERR-0001\n");
        name = "Nameless Command";
    }
    return strdup(name);
}

qipCommand::qipCommand(const char* name, int disabled) : _disabled(disabled), _name(commandName(name))
{
    assert(_name != 0);
}

qipCommand::qipCommand(const qipCommand& other) : _disabled(other._disabled), _name(strdup(other._name))
{
    assert(_name != 0);
}

qipCommand& qipCommand::operator=(const qipCommand& other)
{
    if (this != &other) {
        char* copy = strdup(other._name);
        assert(copy != 0 && "_name != 0");
        free(_name);
        _name = copy;
        _disabled = other._disabled;
    }
    return *this;
}

qipCommand::~qipCommand() { free(_name); }

void qipCommand::registerServer(qipSensor* ifac)
{
    assert(ifac != 0);
    _triggers.append(ifac);
    ifac->initialState(_disabled ? qipGadget_Off : qipGadget_On);
}

void qipCommand::removeServer(qipSensor* ifac) { _triggers.remove(ifac); }

int qipCommand::enable()
{
    if (_disabled == 0)
        return 0;
    if (--_disabled >= 1)
        return _disabled;
    for (ListIterator<qipSensor*> it(_triggers); it.valid(); it.next())
        it.current()->activate();
    return 0;
}

int qipCommand::disable()
{
    if (_disabled++ == 0)
        for (ListIterator<qipSensor*> it(_triggers); it.valid(); it.next())
            it.current()->deactivate();
    return 0;
}

int qipCommand::execute()
{
    if (_disabled)
        return -1;
    int result = doit();
    if (result != 0)
        return result;
    for (ListIterator<qipCommand*> it(_activationList); it.valid(); it.next())
        it.current()->enable();
    for (ListIterator<qipCommand*> it(_deactivationList); it.valid(); it.next())
        it.current()->disable();
    return result;
}
