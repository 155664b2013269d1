#pragma once

#include <X11/Intrinsic.h>

#include "qip/Monitors/qipAppContext.h"

// Timers and descriptor inputs need an application context but no display:
// one for the whole test program, made on first use.
inline XtAppContext loopContext()
{
    static XtAppContext context = nullptr;
    if (!context) {
        XtToolkitInitialize();
        context = XtCreateApplicationContext();
        qipSetAppContext(context);
    }
    return context;
}
