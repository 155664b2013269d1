// gtest comes before any X header: Xlib defines macros such as None and Bool.
#include <gtest/gtest.h>

#include "qip/Components/testsupport/TestApp.h"

#include <X11/Shell.h>
#include <Xm/Form.h>
#include <Xm/Xm.h>

#include <map>
#include <string>
#include <vector>

namespace {
class TestApplication : public qipApplication {
public:
    TestApplication(const char* className, String* fallback) : qipApplication(className)
    {
        fallbackResources(fallback);
    }
};
}  // namespace

qipApplication* startTestApplication(const char* className, String* fallback)
{
    static qipApplication* app = nullptr;
    if (!app) {
        if (!lumox_test::ensureDisplay()) {
            ADD_FAILURE() << "no X server could be started";
            return nullptr;
        }
        app = new TestApplication(className, fallback);
        static std::string arg0 = className;
        static char* argv[] = {&arg0[0], nullptr};
        int argc = 1;
        app->initialize(argc, argv);
        XtRealizeWidget(app->baseWidget());
    }
    return app;
}

qipApplication* testApp() { return startTestApplication("lumoxtest"); }

XtAppContext testContext() { return testApp()->appContext(); }

char** squareIcon(const char* colour)
{
    static std::map<std::string, std::vector<std::string>> texts;
    static std::map<std::string, std::vector<char*>> icons;
    std::vector<char*>& icon = icons[colour];
    if (icon.empty()) {
        std::vector<std::string>& t = texts[colour];
        t = {"8 8 1 1", std::string("x c ") + colour};
        t.resize(10, "xxxxxxxx");
        for (std::string& line : t)
            icon.push_back(&line[0]);
    }
    return icon.data();
}

TestParent::TestParent(const char* name, int width, int height) : qipVCell(name), _shell(nullptr)
{
    testApp();
    _shell = XtVaCreatePopupShell(name, topLevelShellWidgetClass, theApplication->baseWidget(), XmNwidth, width,
                                  XmNheight, height, nullptr);
    _base = XtVaCreateManagedWidget("form", xmFormWidgetClass, _shell, XmNwidth, width, XmNheight, height,
                                    nullptr);
    _clientArea = _base;
    installDestroyHandler();
}

TestParent::~TestParent()
{
    if (_shell) {
        Widget s = _shell;
        _shell = nullptr;
        XtDestroyWidget(s);
        // Destruction finishes in the next dispatch.
        lumox_test::runLoopFor(testContext(), 20);
    }
}

void TestParent::show()
{
    XtPopup(_shell, XtGrabNone);
    lumox_test::runLoopUntil(testContext(), [&] { return lumox_test::isViewable(_shell); });
    settle(50);
}
