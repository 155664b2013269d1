#pragma once

#include <X11/Intrinsic.h>

#include "qip/Components/qipTButton.h"

// Context help: pressing the button turns the pointer into a question arrow,
// the user clicks on any part of the context window (not owned), and the
// nearest enclosing cell with a help topic shows it. Help on the button
// itself is the topic "overview".
class HelpBtn : public qipTButton {
public:
    explicit HelpBtn(qipVCell* context, const char* label = "Help", char** icon = nullptr,
                     char** iconDisabled = nullptr);
    ~HelpBtn() override;

    void triggered() override;
    void helpRequested() const override;
    const char* className() const override { return "HelpBtn"; }

    // Calls the help callbacks of `picked` or of its nearest ancestor that has
    // some, with `event` as the triggering event; the widget that answered,
    // or null when none did.
    static Widget helpAt(Widget picked, XEvent* event);

private:
    Cursor _cursor;
    Display* _cursorDisplay;
    qipVCell* _context;
};
