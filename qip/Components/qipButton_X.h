#pragma once

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include "qip/Components/qipVCell.h"
#include "qip/Monitors/qipButton_impl.h"

class qipIcon;

// The Motif side of a push button: it owns the push-button widget, fires its
// sensor when the button is pressed and turns activation into sensitivity.
// It shows either a label or an icon, and a second icon while insensitive.
// The engine owns its label and icons, not its sensor; constructing it with
// a sensor also makes it that sensor's engine.
class qipButton_X : public qipButton_impl, public qipVCell {
public:
    qipButton_X(const char* name, qipButton* client);
    ~qipButton_X() override;

    // Sensitive / insensitive; -1 while there is no widget (the state is
    // still kept and applied when the button is installed).
    int activate() override;
    int deactivate() override;
    const char* className() const override { return "qipButton_X"; }

    void install(qipVCell* parent) override;
    void destroyed() override;

    void setLabel(const char* label);
    // Creates the icons that are given; either may be null.
    void setImage(char** icon, char** iconDisabled);

    const char* label() const { return _label; }
    qipIcon* icon() const { return _icon; }
    qipIcon* iconDisabled() const { return _iconDisabled; }
    // The push button that fires the sensor (the base widget, or inside it).
    Widget button() const { return _button; }

protected:
    // True when `parent` puts its children into a pull-down or pop-up menu.
    static bool isMenuPane(qipVCell* parent);
    // The label as a compound string: in the button font, or in the menu's
    // own font inside a menu.
    XmString labelString(const char* text) const;
    // Shows the icons on `button`; true when the normal icon has a pixmap.
    bool showIcons(Widget button);
    // Connects `button` to the sensor and applies the kept sensitivity.
    void finishInstall(Widget button);

    char* _label;
    qipIcon* _icon;
    qipIcon* _iconDisabled;
    Widget _button;
    bool _inMenu;

private:
    qipButton_X(const qipButton_X&) = delete;
    qipButton_X& operator=(const qipButton_X&) = delete;
    void pressed();
    static void activate_cbk(Widget w, XtPointer clientData, XtPointer callData);
};
