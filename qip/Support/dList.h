#pragma once

// A circular doubly linked list of links with a sentinel, the untyped core of
// List<T>. The list owns its links; what the links carry is not its business.

struct dLink {
    dLink* _next;
    dLink* _prev;

    dLink() : _next(this), _prev(this) {}
    virtual ~dLink() {}
};

class dList {
public:
    dList();
    virtual ~dList();

    int length() const { return _length; }
    bool empty() const { return _length == 0; }

    // First and last link, or null when the list is empty.
    dLink* firstLink() const { return _length ? _nil._next : nullptr; }
    dLink* lastLink() const { return _length ? _nil._prev : nullptr; }
    // The link after / before `l`, or null at the end.
    dLink* nextLink(const dLink* l) const { return l->_next == &_nil ? nullptr : l->_next; }
    dLink* prevLink(const dLink* l) const { return l->_prev == &_nil ? nullptr : l->_prev; }

    void appendLink(dLink* l);
    void prependLink(dLink* l);
    // Inserts `l` after `after`; a null `after` inserts at the front.
    void joinLink(dLink* l, dLink* after);
    // Unlinks `l` without freeing it.
    void unlink(dLink* l);
    // Unlinks and frees every link.
    void clear();

private:
    dList(const dList&) = delete;
    dList& operator=(const dList&) = delete;

    dLink _nil;
    int _length;
};

// An untyped cursor over a dList: the list and the current link (null when
// the cursor stands before the start or after the end).
class dListIter {
public:
    explicit dListIter(const dList* l) : _list(l), _elem(l ? l->firstLink() : nullptr) {}

    const dList* list() const { return _list; }
    void list(const dList* l) { _list = l; _elem = l ? l->firstLink() : nullptr; }

protected:
    const dList* _list;
    dLink* _elem;
};
