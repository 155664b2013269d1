#include <gtest/gtest.h>

#include "app/testsupport/AppTestEnv.h"

#include "app/shell/LmxStsBar.h"
#include "app/shell/LumoxWindow.h"
#include "qip/Components/qipQuitCommand.h"
#include "app/shell/LumoxResources.h"
#include "app/messages/MsgArea.h"
#include "app/supreditor/SuprWindow.h"
#include "qip/Components/qipApplication.h"
#include "qip/Components/testsupport/TestApp.h"
#include "tests/support/TestSupport.h"

void appGlobals()
{
    if (!theStatusBar)
        theStatusBar = new LmxStsBar("statusBar");
    if (!theMessageContainer)
        theMessageContainer = new MsgArea("msgArea");
    SuprWindow::registerView();
}

qipApplication* appTestApp()
{
    qipApplication* app = startTestApplication("lumox", lumoxFallbackResources());
    if (app)
        appGlobals();
    return app;
}

XtAppContext appTestContext() { return appTestApp()->appContext(); }

LumoxWindow* appTestWindow()
{
    static LumoxWindow* w = nullptr;
    if (!w) {
        if (!appTestApp())
            return nullptr;
        if (!theQuitCommand)
            theQuitCommand = new qipQuitCommand("Exit", 0);
        w = new LumoxWindow("Lumox");
        w->initialize();
        w->manage();
        Widget shell = w->baseWidget();
        lumox_test::runLoopUntil(appTestContext(), [&] {
            XWindowAttributes a;
            return XtIsRealized(shell) && XGetWindowAttributes(XtDisplay(shell), XtWindow(shell), &a) &&
                   a.map_state == IsViewable;
        });
        lumox_test::runLoopFor(appTestContext(), 100);
    }
    return w;
}
