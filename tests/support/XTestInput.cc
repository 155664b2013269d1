#include "tests/support/XTestInput.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace lumox_test {

static long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

static Window searchName(Display* d, Window w, const std::string& name, bool mappedOnly)
{
    char* wmName = nullptr;
    if (XFetchName(d, w, &wmName) && wmName) {
        bool same = name == wmName;
        XFree(wmName);
        if (same) {
            XWindowAttributes a;
            if (!mappedOnly || (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable))
                return w;
        }
    }
    Window root, parent, *kids = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &kids, &n))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < n && !found; ++i)
        found = searchName(d, kids[i], name, mappedOnly);
    if (kids)
        XFree(kids);
    return found;
}

Window findWindow(Display* d, const std::string& name, int timeoutMs)
{
    long deadline = nowMs() + timeoutMs;
    for (;;) {
        Window w = searchName(d, DefaultRootWindow(d), name, true);
        if (w || nowMs() > deadline)
            return w;
        usleep(20000);
    }
}

bool windowMapped(Display* d, const std::string& name)
{
    return searchName(d, DefaultRootWindow(d), name, true) != 0;
}

bool windowRect(Display* d, Window w, int& x, int& y, int& width, int& height)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a))
        return false;
    Window child;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    width = a.width;
    height = a.height;
    return true;
}

void movePointer(Display* d, int x, int y)
{
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XSync(d, False);
}

void click(Display* d, int x, int y, unsigned button)
{
    movePointer(d, x, y);
    usleep(30000);
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XSync(d, False);
    usleep(20000);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
    XSync(d, False);
}

void doubleClick(Display* d, int x, int y) { multiClick(d, x, y, 2); }

void multiClick(Display* d, int x, int y, int n)
{
    movePointer(d, x, y);
    usleep(30000);
    for (int i = 0; i < n; ++i) {
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XSync(d, False);
        usleep(10000);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XSync(d, False);
        usleep(40000);
    }
}

static void fakeKey(Display* d, KeySym sym, bool press)
{
    KeyCode code = XKeysymToKeycode(d, sym);
    if (code)
        XTestFakeKeyEvent(d, code, press, CurrentTime);
}

void pressKey(Display* d, const std::string& keysym, const std::string& modifier)
{
    KeySym mod = modifier.empty() ? NoSymbol : XStringToKeysym(modifier.c_str());
    KeySym sym = XStringToKeysym(keysym.c_str());
    if (mod != NoSymbol)
        fakeKey(d, mod, true);
    fakeKey(d, sym, true);
    XSync(d, False);
    usleep(10000);
    fakeKey(d, sym, false);
    if (mod != NoSymbol)
        fakeKey(d, mod, false);
    XSync(d, False);
    usleep(20000);
}

void typeText(Display* d, const std::string& text)
{
    for (char c : text) {
        std::string name;
        bool shift = false;
        switch (c) {
        case ' ': name = "space"; break;
        case '.': name = "period"; break;
        case '/': name = "slash"; break;
        case '-': name = "minus"; break;
        case '_': name = "underscore"; shift = true; break;
        case '%': name = "percent"; shift = true; break;
        case '+': name = "plus"; shift = true; break;
        default:
            name = std::string(1, c);
            shift = c >= 'A' && c <= 'Z';
        }
        pressKey(d, name, shift ? "Shift_L" : "");
    }
}

bool screenshot(const std::string& display, const std::string& path)
{
    std::string cmd = "import -display " + display + " -window root '" + path + "' >/dev/null 2>&1";
    return system(cmd.c_str()) == 0;
}

}  // namespace lumox_test
