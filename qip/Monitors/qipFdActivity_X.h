#pragma once

#include <X11/Intrinsic.h>

#include "qip/Monitors/qipFdActivity_impl.h"

// Watches a descriptor through XtAppAddInput. Level-triggered: the handler
// must consume the readiness or deactivate, or the loop calls it again.
class qipFdActivity_X : public qipFdActivity_impl {
public:
    explicit qipFdActivity_X(qipFdActivity* client = nullptr)
        : qipFdActivity_impl(client), _conditionMask(0), _inputId(0) {}
    ~qipFdActivity_X() override;

    int deactivate() override;
    int watch(int fd, qipFdActivityEvent what) override;
    const char* className() const override { return "qipFdActivity_X"; }

    XtInputId inputId() const { return _inputId; }

private:
    static void fdReady_cbk(XtPointer clientData, int* fd_p, XtInputId* id_p);

    XtPointer _conditionMask;
    XtInputId _inputId;
};
