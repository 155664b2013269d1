#pragma once

#include "qip/Components/qipCommand.h"

// A command with the question that a confirmation would ask before it runs.
// The question is kept for the caller; execute() itself runs the command
// directly, without a dialog.
class qipConfirmCommand : public qipCommand {
public:
    qipConfirmCommand(const char* name, int disabled, int confirm);
    qipConfirmCommand(const qipConfirmCommand& other);
    qipConfirmCommand& operator=(const qipConfirmCommand& other);
    ~qipConfirmCommand() override;

    int execute() override { return qipCommand::execute(); }
    const char* className() const override { return "qipConfirmCommand"; }

    void setQuestion(const char* q);
    const char* question() const { return _question; }
    int confirm() const { return _confirm; }

protected:
    int _confirm;
    char* _question;
};
