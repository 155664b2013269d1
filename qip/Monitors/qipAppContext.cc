#include "qip/Monitors/qipAppContext.h"

static XtAppContext theContext = nullptr;

XtAppContext qipAppContext() { return theContext; }

void qipSetAppContext(XtAppContext context) { theContext = context; }
