#pragma once

#include "qip/Monitors/qipSensor.h"

class qipButton_impl;

// The toolkit-neutral half of a push button. Activation switches the engine's
// widget sensitive; a press calls triggered().
class qipButton : public qipSensor {
public:
    qipButton() : _engine(nullptr) {}

    int activate() override;
    int deactivate() override;
    const char* className() const override { return "qipButton"; }
    void eventDetected() override { triggered(); }

    qipButton_impl* engine() const { return _engine; }
    void engine(qipButton_impl* e) { _engine = e; }

protected:
    qipButton_impl* _engine;
};
