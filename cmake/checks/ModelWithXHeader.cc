// Compiled by the suite with the stand-ins of the X headers that the model's
// libraries are built with: this file must fail to compile, or the check
// that keeps X out of the model would be doing nothing.
#include "app/sessions/SessionSink.h"
#include <X11/Intrinsic.h>
