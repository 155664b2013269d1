#pragma once

#include <functional>

#include "app/sessions/SessionSink.h"

class ErrorMsg;
class NetClient;

// The sessions of a report file as the file is read, one at a time: it
// hands on each session as it signs on, each message once its client has
// judged it (a static-analysis client marks the ones its suppressions
// hide), and each session as it signs off, then drops it. So a report of
// any size is read in the memory of one session, or of one message when
// the messages are not kept.
class ReportSessions : public SessionSink {
public:
    // `keepMessages`: the session holds its messages until it signs off
    // (for a whole run of a SARIF log); otherwise each goes after onMessage.
    explicit ReportSessions(bool keepMessages);
    ~ReportSessions() override;

    std::function<void(NetClient&)> onSignOn;
    std::function<void(NetClient&, ErrorMsg&)> onMessage;
    std::function<void(NetClient&)> onSignOff;

    void clientSignOn(NetClient* c) override;
    void newMessage(long id, ErrorMsg* m) override;
    void clientSignOff(long id) override;
    void clientSizeAdjust(int) override {}
    void suppressionsChanged() override {}
    long nextClientNumber() override { return ++_last; }

private:
    ReportSessions(const ReportSessions&) = delete;
    ReportSessions& operator=(const ReportSessions&) = delete;

    bool _keep;
    NetClient* _current;  // owned
    long _last;
};
