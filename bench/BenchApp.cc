#include "bench/BenchApp.h"

#include <X11/Shell.h>
#include <Xm/Form.h>
#include <Xm/Xm.h>

#include <cstdlib>

#include "qip/Components/qipApplication.h"

namespace {
class BenchApplication : public qipApplication {
public:
    BenchApplication() : qipApplication("lumoxbench") {}
};

struct Holder : qipVCell {
    Holder() : qipVCell("benchParent")
    {
        Widget shell = XtVaCreatePopupShell("bench", topLevelShellWidgetClass, theApplication->baseWidget(), XmNwidth,
                                            900, XmNheight, 600, nullptr);
        _base = _clientArea = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, nullptr);
        XtPopup(shell, XtGrabNone);
    }
};
}  // namespace

qipVCell* benchParent()
{
    static qipVCell* parent = nullptr;
    static bool tried = false;
    if (tried)
        return parent;
    tried = true;
    if (!getenv("DISPLAY"))
        return nullptr;
    static BenchApplication app;
    static char arg0[] = "lumoxbench";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;
    app.initialize(argc, argv);
    XtRealizeWidget(app.baseWidget());
    parent = new Holder();
    return parent;
}
