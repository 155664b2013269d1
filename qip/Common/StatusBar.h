#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Monitors/qipTimeout.h"

class qipBasicAlarm_X;

// The strip at the bottom of a window that tells the user what happened. A
// transient message stays up until 3000 ms after the last one, then the
// permanent text comes back; a lasting one (an error the user must not
// miss) stays until the next message. Without widgets (not installed) it
// only keeps the texts, so that code which reports progress works without a
// window.
class StatusBar : public qipVCell {
public:
    explicit StatusBar(const char* name);
    ~StatusBar() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "StatusBar"; }

    // Replaces the permanent text (null is ignored); shown at the next refresh().
    void setPermanent(const char* text);
    // Shows the permanent text, or an empty text when there is none.
    void refresh();
    // Shows a transient text and restarts the timeout.
    void displayMessage(const char* text);
    // Shows a text that stays until the next message replaces it.
    void displayUntilNext(const char* text);

    // The text the message label shows now.
    const char* shownText() const { return _shown; }
    Widget messageLabel() const { return _msgArea; }

    enum { TimeoutMs = 3000 };

protected:
    class MsgTimeout : public qipTimeout {
    public:
        explicit MsgTimeout(StatusBar* bar) : _client(bar) {}
        void triggered() override { _client->refresh(); }

    private:
        StatusBar* _client;
    };

    void show(const char* text);

    char* _permMsg;
    Widget _msgArea;
    MsgTimeout _timer;
    qipBasicAlarm_X* _timerEngine;
    char* _shown;
};
