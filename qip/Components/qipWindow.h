#pragma once

#include "qip/Components/qipVCell.h"

// A top-level window: a popup application shell holding a Motif main window
// whose work area a subclass builds. The window registers itself with the
// application in its constructor and unregisters in its destructor.
class qipWindow : public qipVCell {
public:
    explicit qipWindow(const char* name);
    ~qipWindow() override;

    void manage() override;
    void unmanage() override;
    const char* className() const override { return "qipWindow"; }

    virtual Widget createWorkArea(Widget parent) = 0;
    virtual void initialize();
    virtual void close();
    virtual void iconify();

    Widget mainWindow() const { return _main; }
    Widget workArea() const { return _workArea; }

protected:
    // From now on closing the window from the window manager calls
    // closeRequested() instead of destroying the shell. After initialize().
    void catchClose();
    // Hides the window; windows that mean something else override it.
    virtual void closeRequested() { close(); }
    // The window has just appeared on the screen.
    virtual void mapped() {}
    // Moves the realized shell to the right of another registered window that
    // is on the screen, or below it, when the screen has room; else into the
    // screen's far corner, where it hides the least.
    void placeBesideOtherWindow();

    Widget _main;
    Widget _workArea;

private:
    static void close_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void structure_evh(Widget w, XtPointer clientData, XEvent* event, Boolean* goOn);
    bool _closeCaught;
};
