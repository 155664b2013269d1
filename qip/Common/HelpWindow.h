#pragma once

#include <X11/Intrinsic.h>

#include <string>

#include "qip/Common/CloseBtn.h"
#include "qip/Common/FileViewer.h"
#include "qip/Components/qipToolBar.h"
#include "qip/Components/qipToolGroup.h"
#include "qip/Components/qipWindow.h"

// The one window that shows help topics: a tool bar with a Close button over
// a file viewer. Every help request of the program (menu entries, the About
// entry, context help and the cells that name a topic) goes through
// showHelpOn(), which creates the window on first use and shows the topic's
// file from the installation directory. Closing only hides the window.
class HelpWindow : public qipWindow {
public:
    ~HelpWindow() override;

    // Creates the window named "Help" when none exists (or its widgets are
    // gone) and builds its widgets; the window.
    static HelpWindow* initializeInstance();
    // Shows "<installation>/<application>/help/<topic>.hlp". Nothing happens
    // for a null or empty topic or while the installation directory is not
    // known.
    static void showHelpOn(const char* topic);
    // The help file of `topic`, or an empty text when there is none (same
    // conditions as above).
    static std::string helpPath(const char* topic);
    // The last topic asked for, shown or not; null before the first.
    static const char* lastTopic();
    // The window, or null before the first help request.
    static HelpWindow* instance() { return _theHelpWindow; }

    void initialize() override;
    Widget createWorkArea(Widget parent) override;
    // Pops the window up and gives it the keyboard focus.
    void manage() override;
    void destroyed() override;
    const char* className() const override { return "HelpWindow"; }

    FileViewer& viewer() { return _viewer; }
    qipToolBar& toolbar() { return _toolbar; }
    CloseBtn& closeButton() { return _closeBtn; }

private:
    explicit HelpWindow(const char* name);
    // Gives the window the keyboard focus, or waits until it is mapped.
    void takeFocus();
    // Gives the focus that waited for the window to be mapped.
    void mapped() override;

    qipToolBar _toolbar;
    qipToolGroup _closeGroup;
    CloseBtn _closeBtn;
    FileViewer _viewer;
    // The focus waits for the window to be mapped: X refuses it before.
    bool _focusPending;

    static HelpWindow* _theHelpWindow;
};
