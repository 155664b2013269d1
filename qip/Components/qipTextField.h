#pragma once

#include "qip/Monitors/qipSensor.h"

class qipTextField_impl;

// The toolkit-neutral half of a one-line text entry: it keeps nothing itself
// but talks to its engine (not owned), which holds the text and the widget;
// without an engine it holds no text and cannot be activated. Activation makes
// Return reach triggered(), which derived sensors implement.
class qipTextField : public qipSensor {
public:
    qipTextField() : _engine(nullptr) {}
    ~qipTextField() override {}

    // Connect / disconnect Return; -1 while there is no engine or widget.
    int activate() override;
    int deactivate() override;
    const char* className() const override { return "qipTextField"; }
    void eventDetected() override { triggered(); }

    // Stores a copy of `s` in the engine (null clears it); an installed
    // engine also shows it.
    void text(const char* s);
    // The engine's copy: the last text set or entered; null when none.
    const char* text() const;
    // Width in pixels given to the widget when it is created (0: Motif's).
    void width(int w);
    // 1 when the field holds a non-empty text, else 0.
    int valid() const;

    qipTextField_impl* engine() const { return _engine; }
    void engine(qipTextField_impl* e) { _engine = e; }

protected:
    qipTextField_impl* _engine;
};
