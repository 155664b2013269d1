#include "app/sessions/SessionList.h"

#include "app/records/ErrorMsg.h"
#include "app/sessions/NetClient.h"

SessionList::SessionList() : _last(65535), _shown(0) {}

SessionList::~SessionList()
{
    for (ListIterator<NetClient*> i(_sessions); i.valid(); i.next())
        delete i.current();
    _sessions.clear();
}

void SessionList::clientSignOn(NetClient* c)
{
    if (c)
        _sessions.append(c);
}

void SessionList::newMessage(long id, ErrorMsg* m)
{
    if (!m)
        return;
    // The latest session with the number: a reused process id belongs to
    // the program that signed on last.
    ListIterator<NetClient*> i(_sessions);
    for (i.last(); i.valid(); i.prev())
        if (i.current()->_id == id) {
            if (i.current()->append(m) < 0)
                delete m;
            else if (m->_suppressed != Yes)
                ++_shown;
            return;
        }
    delete m;
}

void SessionList::clientSignOff(long id)
{
    ListIterator<NetClient*> i(_sessions);
    for (i.last(); i.valid(); i.prev())
        if (i.current()->_id == id && i.current()->_status == NetClient::Connected) {
            i.current()->disconnect();
            return;
        }
}
