#include "qip/Components/qipColor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

Pixel makeColorPixel(Widget w, const char* colourName, int flag)
{
    Display* d = XtDisplay(w);
    Screen* screen = XtScreen(w);
    XColor exact, shown;
    if (colourName && XAllocNamedColor(d, DefaultColormapOfScreen(screen), colourName, &shown, &exact))
        return shown.pixel;

    static const char prefix[] = "Cannot allocate colormap entry for ";
    const char* name = colourName ? colourName : "";
    size_t n = sizeof prefix + strlen(name) + 2;
    char* msg = static_cast<char*>(malloc(n));
    XtAppContext context = XtWidgetToApplicationContext(w);
    if (msg) {
        snprintf(msg, n, "%s\"%s\"", prefix, name);
        XtAppWarning(context, msg);
        free(msg);
    } else {
        XtAppWarning(context, "XAllocNamedColor : failed to allocate requested color");
    }
    return flag ? BlackPixelOfScreen(screen) : WhitePixelOfScreen(screen);
}
