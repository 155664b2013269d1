#include "qip/Components/qipQuitCommand.h"

#include <cstdlib>

qipQuitCommand* theQuitCommand = nullptr;

qipQuitCommand::qipQuitCommand(const char* name, int disabled) : qipConfirmCommand(name, disabled, 0)
{
    setQuestion("Do you really want to quit?");
}

int qipQuitCommand::doit()
{
    exit(0);
}
