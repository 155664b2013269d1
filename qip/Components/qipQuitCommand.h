#pragma once

#include "qip/Components/qipConfirmCommand.h"

// The program's quit action: running it ends the process with status 0.
class qipQuitCommand : public qipConfirmCommand {
public:
    qipQuitCommand(const char* name, int disabled);

    int doit() override;
    const char* className() const override { return "qipQuitCommand"; }
};

// The program's one quit command, made at start-up; null until then.
extern qipQuitCommand* theQuitCommand;
