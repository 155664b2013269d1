#pragma once

enum qipGadgetStatus {
    qipGadget_Uninitialized = 0,
    qipGadget_Off = 1,
    qipGadget_On = 2
};

// The root of sensors and engines: something that can be switched on and off.
class qipGadget {
public:
    qipGadget() : _status(qipGadget_Uninitialized), _initialState(qipGadget_Uninitialized) {}
    virtual ~qipGadget() {}

    virtual int activate()
    {
        _status = qipGadget_On;
        return 0;
    }
    virtual int deactivate()
    {
        _status = qipGadget_Off;
        return 0;
    }
    virtual void initialState(qipGadgetStatus s) { _status = s; }
    virtual const char* className() const { return "qipGadget"; }

    qipGadgetStatus status() const { return _status; }

protected:
    qipGadgetStatus _status;
    qipGadgetStatus _initialState;
};
