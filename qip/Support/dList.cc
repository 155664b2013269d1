#include "qip/Support/dList.h"

#include <cassert>

dList::dList() : _length(0) {}

dList::~dList() { clear(); }

void dList::appendLink(dLink* l) { joinLink(l, _nil._prev == &_nil ? nullptr : _nil._prev); }

void dList::prependLink(dLink* l) { joinLink(l, nullptr); }

void dList::joinLink(dLink* l, dLink* after)
{
    assert(l != 0);
    dLink* prev = after ? after : &_nil;
    l->_prev = prev;
    l->_next = prev->_next;
    prev->_next->_prev = l;
    prev->_next = l;
    ++_length;
}

void dList::unlink(dLink* l)
{
    assert(l != 0 && l != &_nil);
    l->_prev->_next = l->_next;
    l->_next->_prev = l->_prev;
    l->_next = l->_prev = l;
    --_length;
}

void dList::clear()
{
    dLink* l = _nil._next;
    while (l != &_nil) {
        dLink* next = l->_next;
        delete l;
        l = next;
    }
    _nil._next = _nil._prev = &_nil;
    _length = 0;
}
