#pragma once

#include <X11/Intrinsic.h>

#include <string>

#include "qip/Components/qipTButton.h"
#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

class SuprHeaders;

// One choice of a selector menu: a labelled entry with its value. Choosing
// it closes the menu and hands the value to the selector.
class SuprChoiceBtn : public qipTButton {
public:
    SuprChoiceBtn(class SuprMenuSelector* owner, const char* name, const char* label, int value);
    void triggered() override;
    int value() const { return _value; }

private:
    SuprMenuSelector* _owner;
    int _value;
};

// A pop-up menu of fixed choices that the suppression editor opens over a
// field of its list. It reports the chosen value to the editor; a menu that
// closes without a choice cancels the edit. It owns its entries.
class SuprMenuSelector : public qipVCell {
public:
    SuprMenuSelector(const char* name, SuprHeaders* owner);
    ~SuprMenuSelector() override;

    // The menu is created under the parent's client area (the list).
    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "SuprMenuSelector"; }

    // Opens the menu with its top-left corner at root position (x, y),
    // the entry of value `preset` under the pointer; -1 before install.
    int post(int x, int y, int preset);
    // Closes the menu without a choice being reported.
    void close();
    bool posted() const { return _posted; }

    // A choice was made.
    void chosen(int value);
    const List<SuprChoiceBtn*>& choices() const { return _choices; }

protected:
    // Takes `choice` as the next entry (the selector owns it).
    void addChoice(SuprChoiceBtn* choice);
    // A name for the next entry: "<menu>_<n>".
    std::string nextChoiceName() const;
    // Reports the value to the editor.
    virtual void report(int value) = 0;
    // The entry of `value`, or null.
    SuprChoiceBtn* choiceFor(int value) const;

    SuprHeaders* _owner;
    List<SuprChoiceBtn*> _choices;
    bool _posted;
    bool _chose;
    XtIntervalId _check;

private:
    void unmapped();
    void checkCancel();
    static void unmap_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void check_to(XtPointer clientData, XtIntervalId* id);
};

// An entry of the item menu: its rule number, 0 for "*".
class SuprItemBtn : public SuprChoiceBtn {
public:
    SuprItemBtn(SuprMenuSelector* owner, const char* name, int item);
};

// An entry of the severity menu: 0 for "* ", 1 to 5 for I to SV.
class SuprSevBtn : public SuprChoiceBtn {
public:
    SuprSevBtn(SuprMenuSelector* owner, const char* name, int severity);
};

// The item menu: the rule numbers the analyser knows, and "*" for any.
class SuprItemSelector : public SuprMenuSelector {
public:
    explicit SuprItemSelector(SuprHeaders* owner);
    // Opens at (x, y) with `item` preset (an item not in the menu presets "*").
    int getItem(int x, int y, int item);

protected:
    void report(int value) override;
};

// The severity menu: "* " for any, then I, PV, V, PSV and SV.
class SuprSevSelector : public SuprMenuSelector {
public:
    explicit SuprSevSelector(SuprHeaders* owner);
    int getSeverity(int x, int y, int severity);

protected:
    void report(int value) override;
};
