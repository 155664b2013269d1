#pragma once

#include "qip/Components/qipTButton.h"

class qipToggleBtn_X;

// The main window's command buttons. Each kind registers itself with the
// message area, which switches it on and off with the state of the messages,
// and runs one message-area command when pressed. The same classes serve as
// tool-bar buttons (with icons) and as menu entries (without). Help for all
// of them is the "toolbar" topic.
class TorvaneBtn : public qipTButton {
public:
    TorvaneBtn(const char* name, const char* label, char** icon = nullptr, char** iconDisabled = nullptr)
        : qipTButton(name, label, icon, iconDisabled)
    {
    }
    void helpRequested() const override;
};

class LoadBtn : public TorvaneBtn {
public:
    LoadBtn();
    void triggered() override;
};

class SaveBtn : public TorvaneBtn {
public:
    SaveBtn();
    void triggered() override;
};

class SaveAsBtn : public TorvaneBtn {
public:
    SaveAsBtn();
    void triggered() override;
};

class NextBtn : public TorvaneBtn {
public:
    explicit NextBtn(const char* label, char** icon = nullptr, char** iconDisabled = nullptr);
    void triggered() override;
};

class PrevBtn : public TorvaneBtn {
public:
    explicit PrevBtn(const char* label, char** icon = nullptr, char** iconDisabled = nullptr);
    void triggered() override;
};

class DelBtn : public TorvaneBtn {
public:
    explicit DelBtn(const char* label, char** icon = nullptr, char** iconDisabled = nullptr);
    void triggered() override;
};

class SuprBtn : public TorvaneBtn {
public:
    explicit SuprBtn(const char* label, char** icon = nullptr, char** iconDisabled = nullptr);
    void triggered() override;
};

// Toggles the order of every client's messages between arrival time and
// error category.
class SortBtn : public TorvaneBtn {
public:
    explicit SortBtn(const char* label, char** icon = nullptr, char** iconDisabled = nullptr);
    void triggered() override;
};

// Quits when no connection is open; refuses on the status bar otherwise.
class ExitBtn : public TorvaneBtn {
public:
    explicit ExitBtn(const char* label, char** icon = nullptr, char** iconDisabled = nullptr);
    void triggered() override;
};

// Rebuilds the selected client. Its toggle shows whether a rebuild is
// possible now (state 0), already asked for (state 1), or not at all
// (negative: the button is switched off).
class BuildBtn : public TorvaneBtn {
public:
    BuildBtn(const char* label, const char* altLabel = nullptr, char** icon = nullptr, char** iconAlt = nullptr,
             char** iconDisabled = nullptr);
    void triggered() override;
    void state(int s);

private:
    qipToggleBtn_X* _toggle;
};

// The number of open connections: what Exit checks.
int openConnections();

// Quits when no connection is open; refuses on the status bar otherwise.
void requestExit();
