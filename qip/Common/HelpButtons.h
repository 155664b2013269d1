#pragma once

#include <X11/Xlib.h>

#include "qip/Components/qipTButton.h"

class qipWindow;

// The buttons that lead to help: a Help menu entry for one topic (its cell
// name is the topic), the About entry, the context-help button and the
// Close button of a window.

class HMenuBtn : public qipTButton {
public:
    HMenuBtn(const char* topic, const char* label) : qipTButton(topic, label) {}
    void triggered() override;
    void helpRequested() const override;
};

class AboutBtn : public qipTButton {
public:
    AboutBtn();
    void triggered() override;
    void helpRequested() const override;
};

// Context help: the pointer turns into a question arrow, the user clicks on
// any part of `context`, and the nearest enclosing cell with a help topic
// shows it.
class HelpBtn : public qipTButton {
public:
    explicit HelpBtn(qipVCell* context, const char* label = "Help", char** icon = nullptr,
                     char** iconDisabled = nullptr);
    void triggered() override;
    void helpRequested() const override;

private:
    Cursor _cursor;
    qipVCell* _context;
};

class CloseBtn : public qipTButton {
public:
    explicit CloseBtn(qipWindow* client, const char* label = "Close");
    void triggered() override;

private:
    qipWindow* _client;
};
