#pragma once

#include <X11/Intrinsic.h>

#include "qip/Common/TextField.h"

class SuprHeaders;

// A one-line text field that the suppression editor opens over the class or
// file field of its list, preset to the current pattern. Return reports the
// text (an empty text clears the pattern), Escape cancels the edit. The
// field is a child of the list's drawing area and hides itself after use.
class SuprTextSelector : public TextField {
public:
    SuprTextSelector(const char* name, SuprHeaders* owner);
    ~SuprTextSelector() override;

    void install(qipVCell* parent) override;
    void triggered() override;
    const char* className() const override { return "SuprTextSelector"; }

    // Shows the field at (x, y) of the list's drawing area holding `preset`,
    // `width` pixels wide, with the keyboard focus; -1 before install.
    int open(int x, int y, int width, const char* preset);
    // Hides the field without reporting.
    void close();
    bool isOpen() const { return _open; }

protected:
    virtual void report(const char* text) = 0;

    SuprHeaders* _owner;
    bool _open;

private:
    void keyPressed(XEvent* event);
    static void key_evh(Widget w, XtPointer clientData, XEvent* event, Boolean* goOn);
};

class SuprClassSelector : public SuprTextSelector {
public:
    explicit SuprClassSelector(SuprHeaders* owner) : SuprTextSelector("suprClass", owner) {}

protected:
    void report(const char* text) override;
};

class SuprFileSelector : public SuprTextSelector {
public:
    explicit SuprFileSelector(SuprHeaders* owner) : SuprTextSelector("suprFile", owner) {}

protected:
    void report(const char* text) override;
};
