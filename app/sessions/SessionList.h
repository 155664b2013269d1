#pragma once

#include "app/sessions/SessionSink.h"
#include "qip/Support/List.h"

// The sessions in the order they signed on, with nothing to show them: the
// session sink of programs and tests that read sessions without a window.
// It owns the sessions and their messages; a message of no session it holds
// is dropped. Client numbers are its own, from 65536 on.
class SessionList : public SessionSink {
public:
    SessionList();
    ~SessionList() override;

    void clientSignOn(NetClient* c) override;
    void newMessage(long id, ErrorMsg* m) override;
    void clientSignOff(long id) override;
    void clientSizeAdjust(int n) override { _shown += n; }
    void suppressionsChanged() override {}
    long nextClientNumber() override { return ++_last; }

    const List<NetClient*>& sessions() const { return _sessions; }
    // The messages of all sessions that their suppressions do not hide.
    int nShown() const { return _shown; }

private:
    SessionList(const SessionList&) = delete;
    SessionList& operator=(const SessionList&) = delete;

    List<NetClient*> _sessions;
    long _last;
    int _shown;
};
