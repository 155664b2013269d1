#include <gtest/gtest.h>

#include "app/tests/AppTestEnv.h"

#include "app/LmxStsBar.h"
#include "app/LumoxWindow.h"
#include "qip/Components/qipQuitCommand.h"
#include "app/LumoxResources.h"
#include "app/MsgArea.h"
#include "qip/Components/qipApplication.h"
#include "tests/support/TestSupport.h"

namespace {
class TestApplication : public qipApplication {
public:
    TestApplication() : qipApplication("lumox") { fallbackResources(lumoxFallbackResources()); }
};
}  // namespace

void appGlobals()
{
    if (!theStatusBar)
        theStatusBar = new LmxStsBar("statusBar");
    if (!theMessageContainer)
        theMessageContainer = new MsgArea("msgArea");
}

qipApplication* appTestApp()
{
    static qipApplication* app = nullptr;
    if (!app) {
        if (!lumox_test::ensureDisplay()) {
            ADD_FAILURE() << "no X server could be started";
            return nullptr;
        }
        app = new TestApplication();
        appGlobals();
        static char arg0[] = "lumox";
        static char* argv[] = {arg0, nullptr};
        int argc = 1;
        app->initialize(argc, argv);
        XtRealizeWidget(app->baseWidget());
    }
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
