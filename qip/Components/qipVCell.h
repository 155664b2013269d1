#pragma once

#include <X11/Intrinsic.h>

// The base of every visible element. A cell is constructed with a name (also
// its widget's X resource name) and creates its widgets when it is installed
// into a parent cell, under the parent's client area. When the widget is
// destroyed the destroy handler clears `_base`; when the cell is deleted first
// it removes its callbacks so that the widget never calls a deleted object.
class qipVCell {
public:
    explicit qipVCell(const char* name);
    qipVCell(const qipVCell& other);
    qipVCell& operator=(const qipVCell& other);

    virtual void destroyed();
    virtual void helpRequested() const {}
    virtual ~qipVCell();
    virtual void install(qipVCell* parent);
    virtual void manage();
    virtual void unmanage();
    virtual const char* className() const { return "qipVCell"; }

    void name(const char* n) { setName(n); }
    void setName(const char* n);
    const char* name() const { return _name; }

    Widget baseWidget() const { return _base; }
    Widget clientArea() const { return _clientArea; }

    void installDestroyHandler();
    void installHelpHandler();

protected:
    char* _name;
    Widget _base;
    Widget _clientArea;

private:
    static void destroy_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void help_cbk(Widget w, XtPointer clientData, XtPointer callData);
};
