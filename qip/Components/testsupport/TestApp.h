#pragma once

#include <X11/Intrinsic.h>

#include "qip/Components/qipApplication.h"
#include "qip/Components/qipVCell.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetProbe.h"

// Widget tests share one application object on a private Xvfb.

// The test program's one application object, of X class `className`, made
// and initialised on the first call (which starts the Xvfb); later calls get
// the same object whatever they ask for.
qipApplication* startTestApplication(const char* className, String* fallbackResources = nullptr);
// The toolkit tests' application, class "lumoxtest".
qipApplication* testApp();
XtAppContext testContext();
// Lets the toolkit handle what the server has queued for it.
inline void settle(int ms = 60) { lumox_test::runLoopFor(testContext(), ms); }
// XPM data of an 8 x 8 square of one colour such as "#ff0000", kept for the
// life of the test program.
char** squareIcon(const char* colour);

// A cell whose client area is a Form inside its own realized, mapped popup
// shell: the parent that a test installs its cells into. Destroying the object
// destroys the shell and everything in it.
class TestParent : public qipVCell {
public:
    explicit TestParent(const char* name = "testParent", int width = 400, int height = 300);
    ~TestParent() override;
    // Realizes and maps the shell after the cells are installed, and waits
    // until it is visible.
    void show();
    Widget shell() const { return _shell; }

private:
    Widget _shell;
};
