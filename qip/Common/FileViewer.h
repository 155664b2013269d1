#pragma once

#include <X11/Intrinsic.h>

#include "qip/Common/FileBrowser.h"
#include "qip/Components/qipTCanvas.h"
#include "qip/Components/qipTranslationRecords.h"

// Shows a text file read-only in a scrolled character canvas, positioned at
// a given line. Only the visible lines are read, through its FileBrowser,
// which it owns. The keys scroll it as a pager's do: arrows and j/k by a
// line, Page Up/Down, space and b by a page, Home and End to either end; the
// mouse wheel scrolls three lines.
class FileViewer : public qipTCanvas {
public:
    explicit FileViewer(const char* name);
    ~FileViewer() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "FileViewer"; }

    // Shows file `name` with line `line` (from 1) at the top; nothing happens
    // for a null or empty name or a line below 1. A file that cannot be read
    // leaves the viewer empty.
    void display(const char* name, int line);
    // The canvas's X display, which display(name, line) would hide.
    using qipTCanvas::display;
    void refresh(Drawable d, qipView view) override;

    // Scroll by `n` lines or `n` pages (negative: up), or to either end, and
    // redraw.
    void scrollLines(int n);
    void scrollPages(int n);
    void scrollToTop();
    void scrollToBottom();

    const FileBrowser& browser() const { return _browser; }
    // The canvas width in columns for the file shown; 0 with none.
    long maxLineLen() const { return _maxLineLen; }
    Pixel headerBg() const { return _headerBg; }

private:
    void scrollAction(const char* how, const char* amount);
    static void scroll_act(Widget w, XEvent* event, String* params, Cardinal* nParams);
    static void focus_act(Widget w, XEvent* event, String* params, Cardinal* nParams);

    Pixel _darkShadowColor;
    Pixel _lightShadowColor;
    Pixel _headerBg;
    FileBrowser _browser;
    long _maxLineLen;

    static qipTranslationRecords<FileViewer> _records;
};
