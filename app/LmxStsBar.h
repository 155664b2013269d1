#pragma once

#include "qip/Common/StatusBar.h"

// The main window's status bar: the transient and permanent texts at the
// left, and at the right the number of shown messages and open connections.
class LmxStsBar : public StatusBar {
public:
    explicit LmxStsBar(const char* name) : StatusBar(name), nConLbl(nullptr), nMsgLbl(nullptr), _nMsg(0), _nCon(0) {}

    void install(qipVCell* parent) override;
    void destroyed() override;
    void helpRequested() const override;
    const char* className() const override { return "LmxStsBar"; }

    void nMessages(int n);
    void nConnections(int n);

    int messages() const { return _nMsg; }
    int connections() const { return _nCon; }

    Widget nConLbl;
    Widget nMsgLbl;

private:
    int _nMsg;
    int _nCon;
};

extern LmxStsBar* theStatusBar;
