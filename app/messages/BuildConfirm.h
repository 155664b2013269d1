#pragma once

#include <X11/Intrinsic.h>

#include <string>

class NetClient;

// Asks before a session's command runs again. A static analysis's Build runs
// the command line its client sent (or a report file holds) in the
// directory it named: the dialog shows the exact command, the directory and
// where they came from, and only "Run" runs it. Cancel, or closing the
// dialog, runs nothing. One dialog, made on first use; it owns its widgets
// and remembers the session by number, so a session deleted meanwhile runs
// nothing.
class BuildConfirm {
public:
    BuildConfirm() : _dialog(nullptr), _client(0) {}
    ~BuildConfirm();

    // Shows the question for `c`, parented to `parent`; `run` is called with
    // the session's number when the user says Run.
    void ask(Widget parent, NetClient* c, void (*run)(long id, void* data), void* data);

    // What the dialog says for `c` (also for the tests).
    static std::string question(NetClient* c);
    Widget dialog() const { return _dialog; }

private:
    BuildConfirm(const BuildConfirm&) = delete;
    BuildConfirm& operator=(const BuildConfirm&) = delete;
    static void ok_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void destroyed_cbk(Widget w, XtPointer clientData, XtPointer callData);

    Widget _dialog;
    long _client;
    void (*_run)(long, void*) = nullptr;
    void* _data = nullptr;
};
