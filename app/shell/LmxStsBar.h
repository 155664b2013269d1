#pragma once

#include "app/sessions/StatusView.h"
#include "qip/Common/StatusBar.h"

// The main window's status bar: the transient and permanent texts at the
// left, and at the right the number of shown messages and open connections.
// It is the program's status view while it exists.
class LmxStsBar : public StatusBar, public StatusView {
public:
    explicit LmxStsBar(const char* name) : StatusBar(name), nConLbl(nullptr), nMsgLbl(nullptr), _nMsg(0), _nCon(0)
    {
        StatusView::install(this);
    }
    ~LmxStsBar() override
    {
        if (StatusView::current() == this)
            StatusView::install(nullptr);
    }

    void install(qipVCell* parent) override;
    void destroyed() override;
    void helpRequested() const override;
    const char* className() const override { return "LmxStsBar"; }

    void displayMessage(const char* text) override { StatusBar::displayMessage(text); }
    void displayUntilNext(const char* text) override { StatusBar::displayUntilNext(text); }
    void nMessages(int n) override;
    void nConnections(int n) override;

    int messages() const { return _nMsg; }
    int connections() const { return _nCon; }

    Widget nConLbl;
    Widget nMsgLbl;

private:
    int _nMsg;
    int _nCon;
};

extern LmxStsBar* theStatusBar;
