#include <gtest/gtest.h>

#include "app/tests/AppTestEnv.h"

#include "app/LmxStsBar.h"
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
