#pragma once

#include <X11/Intrinsic.h>

class qipApplication;

// The program's globals for tests of the application library.

// Creates, once, the status bar and the message area as the program does,
// without installing them: they keep their state but have no widgets.
void appGlobals();

// The application object on a private Xvfb, initialised once (also makes the
// globals). For tests that need widgets or the event loop.
qipApplication* appTestApp();
XtAppContext appTestContext();

class LumoxWindow;
// The main window, built once, shown and mapped: the message area and the
// status bar are the program's single global cells, installed into it.
LumoxWindow* appTestWindow();
