#pragma once

#include <X11/Intrinsic.h>

#include "app/supreditor/SuprHeaders.h"
#include "qip/Common/CloseBtn.h"
#include "qip/Common/HelpBtn.h"
#include "qip/Components/qipToolBar.h"
#include "qip/Components/qipToolGroup.h"
#include "qip/Components/qipWindow.h"

class ZxClient;
class ZxErrMsg;

// The window "Zentrix Suppressions": a tool bar over the list of the
// suppression sets that apply to the static-analysis client selected in the
// main window. One instance exists once Suppress first asked for it; it
// follows the main window's selection from then on. Closing only hides it.
// The statics do nothing while the window does not exist (suppress() makes
// it).
class SuprWindow : public qipWindow {
public:
    ~SuprWindow() override;

    static SuprWindow* initializeInstance();
    // Shows the window on `client`, with `msg` as the violation new entries
    // are made from.
    static void suppress(ZxClient* client, ZxErrMsg* msg);
    static void changeContext(ZxClient* client, ZxErrMsg* msg);
    static void invalidateClientSuppressions(ZxClient& client);
    static void clientMoribund(ZxClient& client);
    // The suppression sources dropped every set: the list forgets them.
    static void setsReleased();
    static SuprWindow* instance() { return _theSuprWindow; }
    // Makes the editor the program's suppression view, through which the
    // sessions reach the statics above. Done once at start.
    static void registerView();

    void initialize() override;
    Widget createWorkArea(Widget parent) override;
    void manage() override;
    const char* className() const override { return "SuprWindow"; }
    void helpRequested() const override;

    SuprHeaders& viewer() { return _viewer; }
    qipToolBar& toolbar() { return _toolbar; }
    // Sets the context and redraws.
    void view(ZxClient* client, ZxErrMsg* msg);

private:
    explicit SuprWindow(const char* name);
    // Lines the column titles up with the list's columns, once on the screen.
    void mapped() override;
    void alignColumnTitles();

    qipToolBar _toolbar;
    SuprHeaders _viewer;
    qipToolGroup _helpGroup;
    HelpBtn _helpBtn;
    CloseBtn _closeBtn;
    Widget _columns;

    // The one instance, owned by the class: remade when its widgets are gone
    // and otherwise kept to the end of the process. No static object holds
    // it, because destroying it among them at exit would reach for a display
    // connection that may already be closed.
    static SuprWindow* _theSuprWindow;
};
