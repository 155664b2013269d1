#include "app/MsgArea.h"

#include <cstdio>

#include "app/ErrorMsg.h"
#include "app/LmxStsBar.h"
#include "app/NetClient.h"

MsgArea* theMessageContainer = nullptr;

MsgArea::MsgArea(const char* name) : qipVCell(name), _nMessages(0), _trashcan(nullptr), _criterion(0)
{
    _trashcan = new NetClient(0L);
    _clients.append(_trashcan);
}

MsgArea::~MsgArea()
{
    for (ListIterator<NetClient*> i(_clients); i.valid(); i.next())
        delete i.current();
    _clients.clear();
}

void MsgArea::clientSignOn(NetClient* c)
{
    if (c)
        _clients.append(c);
}

void MsgArea::newMessage(long id, ErrorMsg* m)
{
    // The latest session with the id: a reused process id belongs to the
    // program that signed on last.
    NetClient* client = nullptr;
    ListIterator<NetClient*> i(_clients);
    for (i.last(); i.valid(); i.prev())
        if (i.current()->_id == id) {
            client = i.current();
            break;
        }
    if (!client) {
        fprintf(stderr, " **** MsgArea::newMessage(): message from unknown client (id=%ld)\n", id);
        client = _trashcan;
    }
    // A message nobody took would be lost memory.
    if (client->append(m) < 0) {
        delete m;
        return;
    }
    // The trash can keeps what it gets but shows nothing.
    if (client == _trashcan)
        return;
    if (m->_suppressed != Yes)
        clientSizeAdjust(1);
}

void MsgArea::clientSignOff(long id)
{
    for (ListIterator<NetClient*> i(_clients); i.valid(); i.next()) {
        NetClient* c = i.current();
        if (c->_id == id && c->_status == 1) {
            c->disconnect();
            return;
        }
    }
}

void MsgArea::clientSizeAdjust(int n)
{
    _nMessages += n;
    if (theStatusBar)
        theStatusBar->nMessages(_nMessages);
}
