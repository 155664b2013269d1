#include "app/messages/MsgTraversal.h"

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/NetClient.h"

typedef List<ErrorMsg*>::Link MsgLink;

static bool shown(const ErrorMsg* m) { return m->_suppressed != Yes; }

// The link of the k-th message (from 1) of `c`, or null. O(k).
static MsgLink* linkAt(const NetClient* c, int k)
{
    MsgLink* l = c->_messages.head();
    while (l && --k > 0)
        l = c->_messages.after(l);
    return l;
}

MsgTraversal::MsgTraversal(const List<NetClient*>* clients) : _pos(-1), _index(-1), _msg(nullptr), _client(clients)
{
}

void MsgTraversal::clients(const List<NetClient*>* clients)
{
    _client.list(clients);
    clear();
}

ErrorMsg* MsgTraversal::message() const { return _index > 0 ? static_cast<ErrorMsg*>(_msg) : nullptr; }

void MsgTraversal::clear()
{
    _pos = -1;
    _index = -1;
    _msg = nullptr;
}

void MsgTraversal::onHeader(int pos)
{
    _pos = pos;
    _index = 0;
    NetClient* c = _client.current();
    _msg = c ? c->_signature : nullptr;
}

void MsgTraversal::reset()
{
    if (_client.first())
        onHeader(0);
    else
        clear();
}

int MsgTraversal::locate(int pos)
{
    if (!_client.list())
        return -1;
    ListIterator<NetClient*> saved = _client;
    if (!_client.first())
        return -1;
    int c = 0;
    while (_client.valid() && c + _client.current()->nShown() < pos) {
        c += _client.current()->nShown() + 1;
        _client.next();
    }
    if (!_client.valid()) {
        _client = saved;
        return -1;
    }
    if (pos == c) {
        onHeader(pos);
        return 0;
    }
    int k = 1;
    ++c;
    const NetClient* client = _client.current();
    for (MsgLink* l = client->_messages.head(); l; l = client->_messages.after(l)) {
        if (shown(l->_datum))
            ++c;
        if (pos < c) {
            _pos = pos;
            _index = k;
            _msg = l->_datum;
            return 0;
        }
        ++k;
    }
    _client = saved;
    return -1;
}

int MsgTraversal::locate(NetMsg* msg)
{
    reset();
    if (!_client.valid())
        return -1;
    int p = 0;
    for (; _client.valid(); _client.next()) {
        const NetClient* client = _client.current();
        if (msg && client->_signature == msg) {
            onHeader(p);
            return 0;
        }
        ++p;
        int k = 1;
        for (MsgLink* l = client->_messages.head(); l; l = client->_messages.after(l), ++k) {
            if (l->_datum == msg) {
                _pos = shown(l->_datum) ? p : -1;
                _index = k;
                _msg = msg;
                return 0;
            }
            if (shown(l->_datum))
                ++p;
        }
    }
    clear();
    return -1;
}

int MsgTraversal::next()
{
    if (!_client.valid())
        reset();
    if (!_client.valid())
        return -1;
    const NetClient* client = _client.current();
    int k = _index > 0 ? _index + 1 : 1;
    for (MsgLink* l = linkAt(client, k); l; l = client->_messages.after(l), ++k) {
        if (shown(l->_datum)) {
            ++_pos;
            _msg = l->_datum;
            _index = k;
            return _pos;
        }
    }
    if (!_client.peekNext())
        return -1;
    _client.next();
    onHeader(_pos + 1);
    return _pos;
}

int MsgTraversal::prev()
{
    if (!_client.valid())
        reset();
    if (!_client.valid())
        return -1;
    const NetClient* client = _client.current();
    if (_index >= 1) {
        int k = _index - 1;
        for (MsgLink* l = k > 0 ? linkAt(client, k) : nullptr; l; l = client->_messages.before(l), --k) {
            if (shown(l->_datum)) {
                --_pos;
                _msg = l->_datum;
                _index = k;
                return _pos;
            }
        }
        onHeader(_pos - 1);
        return _pos;
    }
    NetClient* before = _client.peekPrev();
    if (!before || before->_id == 0) {
        reset();
        return _pos;
    }
    _client.prev();
    --_pos;
    client = _client.current();
    int k = client->_messages.length();
    for (MsgLink* l = client->_messages.tail(); l; l = client->_messages.before(l), --k) {
        if (shown(l->_datum)) {
            _msg = l->_datum;
            _index = k;
            return _pos;
        }
    }
    onHeader(_pos);
    return _pos;
}

void MsgTraversal::validateSelection()
{
    const NetClient* client = _client.current();
    if (!client || !_msg || _index <= 0 || shown(static_cast<ErrorMsg*>(_msg)))
        return;
    prev();
    // Several lines above may have gone with the same suppression: count again.
    if (_msg)
        locate(_msg);
}
