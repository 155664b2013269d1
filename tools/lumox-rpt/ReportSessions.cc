#include "tools/lumox-rpt/ReportSessions.h"

#include "app/records/ErrorMsg.h"
#include "app/sessions/NetClient.h"

ReportSessions::ReportSessions(bool keepMessages) : _keep(keepMessages), _current(nullptr), _last(65535) {}

ReportSessions::~ReportSessions() { delete _current; }

void ReportSessions::clientSignOn(NetClient* c)
{
    // A report holds one session after the other: one that did not sign
    // off (a damaged record) ends here.
    if (_current)
        clientSignOff(_current->_id);
    _current = c;
    if (onSignOn)
        onSignOn(*c);
}

void ReportSessions::newMessage(long id, ErrorMsg* m)
{
    if (!_current || _current->_id != id || _current->append(m) < 0) {
        delete m;
        return;
    }
    if (onMessage)
        onMessage(*_current, *m);
    if (!_keep) {
        _current->_messages.remove(m);
        if (m->_suppressed == Yes)
            --_current->_nSuppressed;
        delete m;
    }
}

void ReportSessions::clientSignOff(long id)
{
    if (!_current || _current->_id != id)
        return;
    _current->disconnect();
    if (onSignOff)
        onSignOff(*_current);
    delete _current;
    _current = nullptr;
}
