#pragma once

#include <X11/Intrinsic.h>

#include "qip/Components/qipTCanvas.h"
#include "qip/Components/qipTranslationRecords.h"

// A text canvas that is a list: the mouse and keys on its drawing area reach
// select(), next(), prev(), del() and activate() through one action procedure,
// "dispatch", which finds the list by its widget in a class-wide table. The
// base class only remembers a selection click, so that an activation counts
// after a selection; subclasses give the operations their meaning.
class qipScrollingList : public qipTCanvas {
public:
    explicit qipScrollingList(const char* name);
    ~qipScrollingList() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "qipScrollingList"; }

    // Each returns 0 when it did something, -1 when it did not.
    virtual int select(int line);
    virtual int next();
    virtual int prev();
    virtual int del();
    virtual int activate(int x, int y);

    // Selects the line under pixel row `y` of the drawing area.
    int selectByPixel(int y);
    // Binds the list's keys and buttons on its drawing area (after install).
    void installDefaultTranslations();
    int clicked() const { return _clicked; }

    // The action procedure "dispatch".
    static void dispatcher(Widget w, XEvent* event, String* params, Cardinal* nParams);

protected:
    // Border colour of the drawing area: highlight while it has the focus.
    void focus(int in);

    int _clicked;

private:
    // Which list owns which drawing area, for dispatcher().
    static qipTranslationRecords<qipScrollingList> _records;
};
