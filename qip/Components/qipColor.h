#pragma once

#include <X11/Intrinsic.h>

// Allocates the named colour in the default colormap of w's display and
// returns its pixel. When the server cannot allocate it, issues one X Toolkit
// warning naming the colour and falls back to the screen's black pixel when
// `flag` is non-zero, else to its white pixel.
Pixel makeColorPixel(Widget w, const char* colourName, int flag);
