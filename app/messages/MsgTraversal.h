#pragma once

#include "qip/Support/List.h"

class NetClient;
class NetMsg;
class ErrorMsg;

// The cursor of the header list. It walks the message area's clients and,
// inside each, the messages that are not suppressed: every client shows one
// header line (its sign-on message) followed by one line per shown message.
// `_pos` is the line among all shown lines, `_index` the place inside the
// client (0 for the header line, k for the k-th message counting suppressed
// ones), `_msg` the item. It owns nothing it points to.
class MsgTraversal {
public:
    explicit MsgTraversal(const List<NetClient*>* clients = nullptr);

    void clients(const List<NetClient*>* clients);

    // To the first client's header line, or nowhere when there are no clients.
    void reset();
    // Makes the line at `pos` current; 0, or -1 when no line has that position.
    int locate(int pos);
    // Makes `msg` current; 0, or -1 when no client holds it. A suppressed
    // message is found with `_pos` -1.
    int locate(NetMsg* msg);
    // Steps to the next shown line; the new position, or -1 at the end.
    int next();
    // Steps to the previous shown line; the new position (0 at the top).
    int prev();
    // Steps off a current message that has become suppressed.
    void validateSelection();

    NetClient* client() const { return _client.current(); }
    // The current item as an error message, or null on a header line.
    ErrorMsg* message() const;

    int _pos;
    int _index;
    NetMsg* _msg;
    ListIterator<NetClient*> _client;

private:
    void onHeader(int pos);
    void clear();
};
