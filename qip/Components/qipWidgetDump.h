#pragma once

#include <X11/Intrinsic.h>

#include <cstdio>

// Writes the widget tree under `root` (popup shells included), one widget per
// line: its full name path, class, root-relative x y width height, and flags
// m (managed), s (sensitive), v (viewable), then the label text when it has
// one. A developer aid, and what end-to-end tests read to find the widgets a
// user would click.
void qipDumpWidgetTree(Widget root, FILE* out);

// A widget whose cell draws its own contents can describe them in the dump:
// `fn` writes lines that begin with "| " after the widget's own line.
typedef void (*qipDescribeFn)(void* data, FILE* out);
void qipDescribeWidget(Widget w, qipDescribeFn fn, void* data);
void qipForgetWidget(Widget w);

// Arranges for the tree under `root` to be written to `path` whenever the
// process receives SIGUSR1 (handled inside the event loop).
void qipDumpWidgetTreeOnSignal(Widget root, const char* path);
