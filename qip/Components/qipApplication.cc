#include "qip/Components/qipApplication.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <cassert>
#include <cstdio>

#include "qip/Components/qipWindow.h"
#include "qip/Monitors/qipAppContext.h"
#include "qip/Support/cmdln.h"

qipApplication* theApplication = nullptr;

void usage()
{
    assert(theApplication != 0);
    theApplication->usageHelp();
}

qipApplication::qipApplication(const char* name)
    : qipVCell(name), _display(nullptr), _appContext(nullptr), _fallbackResources(nullptr)
{
    theApplication = this;
    cmdln_setUsage(usage);
}

qipApplication::~qipApplication()
{
    if (theApplication == this)
        theApplication = nullptr;
}

void qipApplication::initialize(int& argc, char** argv)
{
    _base = XtAppInitialize(&_appContext, _name, nullptr, 0, &argc, argv, _fallbackResources, nullptr, 0);
    _display = XtDisplay(_base);
    qipSetAppContext(_appContext);
    installDestroyHandler();
    Screen* screen = DefaultScreenOfDisplay(_display);
    XtVaSetValues(_base, XtNmappedWhenManaged, False, XtNx, WidthOfScreen(screen) / 2, XtNy,
                  HeightOfScreen(screen) / 2, XtNwidth, 1, XtNheight, 1, nullptr);
}

void qipApplication::handleEvents() { XtAppMainLoop(_appContext); }

int qipApplication::appMain(int&, char**)
{
    for (ListIterator<qipWindow*> it(_windows); it.valid(); it.next()) {
        it.current()->initialize();
        it.current()->manage();
    }
    XtRealizeWidget(_base);
    handleEvents();
    return 0;
}

void qipApplication::registerWindow(const qipWindow* w) { _windows.append(const_cast<qipWindow*>(w)); }

void qipApplication::unregisterWindow(const qipWindow* w) { _windows.remove(const_cast<qipWindow*>(w)); }

void qipApplication::manage()
{
    for (ListIterator<qipWindow*> it(_windows); it.valid(); it.next())
        it.current()->manage();
}

void qipApplication::unmanage()
{
    for (ListIterator<qipWindow*> it(_windows); it.valid(); it.next())
        it.current()->unmanage();
}

void qipApplication::iconify()
{
    for (ListIterator<qipWindow*> it(_windows); it.valid(); it.next())
        it.current()->iconify();
}

void qipApplication::usageHelp()
{
    fprintf(stderr, "%s\n    Usage:\n\n            This is the default qipApplication::usage() method\n"
                    "            You need to write your own!\n",
            _name ? _name : "");
}
