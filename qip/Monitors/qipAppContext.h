#pragma once

#include <X11/Intrinsic.h>

// The X Toolkit application context that the _X engines register with. The
// application object sets it when it initialises the toolkit; null before.
XtAppContext qipAppContext();
void qipSetAppContext(XtAppContext context);
