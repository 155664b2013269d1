#pragma once

#include <X11/Xlib.h>

#include <string>

namespace lumox_test {

// Real X input and window lookup for end-to-end tests, through XTEST.

// The first top-level window (searched recursively from the root) whose
// WM_NAME is `name`, waiting up to timeoutMs; 0 when none appears.
Window findWindow(Display* d, const std::string& name, int timeoutMs = 10000);
// Root-relative geometry of a window; false when it does not exist.
bool windowRect(Display* d, Window w, int& x, int& y, int& width, int& height);
// Whether a window with that WM_NAME is mapped now.
bool windowMapped(Display* d, const std::string& name);

void movePointer(Display* d, int x, int y);
void click(Display* d, int x, int y, unsigned button = 1);
void doubleClick(Display* d, int x, int y);
// `n` quick clicks: three select the whole line of a text field.
void multiClick(Display* d, int x, int y, int n);
// Presses and releases a key given by keysym name ("j", "Return", "Delete"),
// holding the modifier keysyms given (such as "Meta_L") meanwhile.
void pressKey(Display* d, const std::string& keysym, const std::string& modifier = "");
void typeText(Display* d, const std::string& text);

// Writes a PNG of the whole screen of `display` to `path`; true on success.
bool screenshot(const std::string& display, const std::string& path);

}  // namespace lumox_test
