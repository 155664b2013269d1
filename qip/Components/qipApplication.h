#pragma once

#include <X11/Intrinsic.h>

#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

class qipWindow;

// The toolkit's application object: the X Toolkit application context, the
// unmapped application shell whose popups are the visible windows, and the
// list of registered windows (not owned). Exactly one exists; its constructor
// makes it `theApplication`.
class qipApplication : public qipVCell {
public:
    explicit qipApplication(const char* name);
    ~qipApplication() override;

    void manage() override;
    void unmanage() override;
    const char* className() const override { return "qipApplication"; }

    virtual void initialize(int& argc, char** argv);
    virtual void handleEvents();
    virtual void usageHelp();
    virtual int appMain(int& argc, char** argv);

    void registerWindow(const qipWindow* w);
    void unregisterWindow(const qipWindow* w);
    void iconify();

    Display* display() const { return _display; }
    XtAppContext appContext() const { return _appContext; }
    const List<qipWindow*>& windows() const { return _windows; }

    // Resources used when no app-defaults file for the class is found.
    void fallbackResources(String* resources) { _fallbackResources = resources; }

protected:
    Display* _display;
    XtAppContext _appContext;
    List<qipWindow*> _windows;
    String* _fallbackResources;
};

extern qipApplication* theApplication;

// The usage exit of the command-line registry: theApplication->usageHelp().
void usage();
