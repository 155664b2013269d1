#pragma once

#include "qip/Components/qipTButton_X.h"

// A tool button with two states. In the on state it shows its alternate icon
// and the off label (what pressing it again does); in the off state its
// normal icon and the on label. The engine owns both labels and all icons.
class qipToggleBtn_X : public qipTButton_X {
public:
    qipToggleBtn_X(const char* name, qipButton* client);
    ~qipToggleBtn_X() override;

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipToggleBtn_X"; }

    // Copies both texts; the on text is shown.
    void setLabels(const char* on, const char* off);
    // The normal and disabled icons as for a push button, and the icon of
    // the on state.
    void setImage(char** icon, char** iconOn, char** iconDisabled);
    void state(int s);
    int state() const { return _state; }

    qipIcon* iconAlt() const { return _iconAlt; }

protected:
    void showState();

    int _state;
    qipIcon* _iconAlt;
    char* _lblOn;
    char* _lblOff;
};
