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
    Widget _main;
    Widget _workArea;
};
