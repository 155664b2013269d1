#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Monitors/qipButton.h"

class qipTButton_X;
class qipToggleBtn_X;

// A tool button as the program uses it: one cell that owns the button sensor
// `_btn` and its engine `_engn`. A press calls the virtual triggered(), which
// application buttons override. Built with an icon it installs as an icon
// over its label; without one (or inside a menu pane) as a labelled push
// button, so one class serves as tool and as menu entry.
class qipTButton : public qipVCell {
public:
    qipTButton(const char* name, const char* label = nullptr, char** icon = nullptr, char** iconDisabled = nullptr);
    ~qipTButton() override;

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipTButton"; }

    virtual int activate();
    virtual int deactivate();
    // Called when the button is pressed; does nothing here.
    virtual void triggered() {}

    void setLabel(const char* label);
    void setImage(char** icon, char** iconDisabled);
    // Replaces the label and shows it at once on an installed button.
    void updateLabel(const char* label);

    qipButton* sensor() const { return _btn; }
    qipTButton_X* engine() const { return _engn; }
    bool active() const { return _btn->status() != qipGadget_Off; }

protected:
    // Makes this a two-state button before it is installed: the engine
    // becomes a toggle that keeps the label and icons given so far and shows
    // `iconOn` and `lblOff` in the on state. The button keeps owning it.
    qipToggleBtn_X* makeToggle(char** iconOn, const char* lblOff);
    // Replaces the engine (before install) by one built for sensor(); the
    // button owns it from now on.
    void engine(qipTButton_X* e);

    // The sensor: a press reaches the owning button's triggered().
    class Sensor : public qipButton {
    public:
        explicit Sensor(qipTButton* owner) : _owner(owner) {}
        void triggered() override { _owner->triggered(); }

    private:
        qipTButton* _owner;
    };

    qipButton* _btn;
    qipTButton_X* _engn;

private:
    qipTButton(const qipTButton&) = delete;
    qipTButton& operator=(const qipTButton&) = delete;
};
