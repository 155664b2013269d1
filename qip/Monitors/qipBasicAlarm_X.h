#pragma once

#include <X11/Intrinsic.h>

#include "qip/Monitors/qipBasicAlarm_impl.h"

// An alarm engine on XtAppAddTimeOut.
class qipBasicAlarm_X : public qipBasicAlarm_impl {
public:
    explicit qipBasicAlarm_X(qipBasicAlarm* client = nullptr) : qipBasicAlarm_impl(client), _timerId(0) {}
    ~qipBasicAlarm_X() override;

    int deactivate() override;
    int set(unsigned long ms) override;
    const char* className() const override { return "qipBasicAlarm_X"; }

    XtIntervalId timerId() const { return _timerId; }

private:
    static void timeout_cbk(XtPointer clientData, XtIntervalId* id_p);

    XtIntervalId _timerId;
};
