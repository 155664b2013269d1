#include "qip/Components/qipConfirmCommand.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

qipConfirmCommand::qipConfirmCommand(const char* name, int disabled, int confirm)
    : qipCommand(name, disabled), _confirm(confirm), _question(strdup("Execute this command?"))
{
    assert(_question != 0);
}

qipConfirmCommand::qipConfirmCommand(const qipConfirmCommand& other)
    : qipCommand(other), _confirm(other._confirm), _question(strdup(other._question))
{
    assert(_question != 0);
}

qipConfirmCommand& qipConfirmCommand::operator=(const qipConfirmCommand& other)
{
    if (this != &other) {
        qipCommand::operator=(other);
        _confirm = other._confirm;
        setQuestion(other._question);
    }
    return *this;
}

qipConfirmCommand::~qipConfirmCommand() { free(_question); }

void qipConfirmCommand::setQuestion(const char* q)
{
    // A null question keeps the old one: a command always has something to ask.
    if (!q)
        return;
    char* copy = strdup(q);
    assert(copy != 0 && "_question != 0");
    free(_question);
    _question = copy;
}
