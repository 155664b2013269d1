#pragma once

#include "qip/Support/dList.h"

// A link that carries one datum.
template <class T>
struct dLinkT : dLink {
    explicit dLinkT(const T& d) : _datum(d) {}
    T _datum;
};

// The program's doubly linked list. It holds data (usually pointers) and owns
// only its links: removing an element or destroying the list never deletes
// what a pointer points to. Lookups compare data with ==, and cost O(N).
template <class T>
class List : public dList {
public:
    typedef dLinkT<T> Link;

    List() {}

    void append(const T& d) { appendLink(new Link(d)); }
    void prepend(const T& d) { prependLink(new Link(d)); }
    // Inserts `d` after `after`; a null `after` inserts at the front.
    void join(const T& d, Link* after) { joinLink(new Link(d), after); }

    // Unlinks the first link holding `d` and frees the link; 0, or -1 when absent.
    int remove(const T& d)
    {
        Link* l = find(d);
        if (!l)
            return -1;
        unlink(l);
        delete l;
        return 0;
    }

    // The first link holding `d`, or null.
    Link* find(const T& d) const
    {
        for (dLink* l = firstLink(); l; l = nextLink(l))
            if (static_cast<Link*>(l)->_datum == d)
                return static_cast<Link*>(l);
        return nullptr;
    }

    bool contains(const T& d) const { return find(d) != nullptr; }

    // First and last datum; a null (value-initialised) datum when empty.
    T first() const { return datumOrNull(firstLink()); }
    T last() const { return datumOrNull(lastLink()); }

    // The datum at 0-based index `i`; a null datum when out of range.
    T at(int i) const
    {
        if (i < 0 || i >= length())
            return T();
        dLink* l = firstLink();
        while (i-- > 0)
            l = nextLink(l);
        return static_cast<Link*>(l)->_datum;
    }

    Link* head() const { return static_cast<Link*>(firstLink()); }
    Link* tail() const { return static_cast<Link*>(lastLink()); }
    Link* after(const Link* l) const { return static_cast<Link*>(nextLink(l)); }
    Link* before(const Link* l) const { return static_cast<Link*>(prevLink(l)); }

private:
    // The datum a link carries; a null datum for no link.
    static T datumOrNull(dLink* l) { return l ? static_cast<Link*>(l)->_datum : T(); }
};

// A cursor over a List<T>. It starts on the first element; `current()` is a
// null datum when the cursor has run off either end or the list is empty.
// The cursor does not survive removal of its current link by someone else.
template <class T>
class ListIterator : public dListIter {
public:
    typedef dLinkT<T> Link;

    ListIterator() : dListIter(nullptr) {}
    explicit ListIterator(const List<T>& l) : dListIter(&l) {}
    explicit ListIterator(const List<T>* l) : dListIter(l) {}

    const List<T>* list() const { return static_cast<const List<T>*>(_list); }
    void list(const List<T>* l) { dListIter::list(l); }

    bool valid() const { return _elem != nullptr; }
    T current() const { return _elem ? link()->_datum : T(); }
    Link* link() const { return static_cast<Link*>(_elem); }
    void set(Link* l) { _elem = l; }

    T first()
    {
        _elem = _list ? _list->firstLink() : nullptr;
        return current();
    }
    T last()
    {
        _elem = _list ? _list->lastLink() : nullptr;
        return current();
    }
    // Steps forwards / backwards; the new datum, or a null datum past the end.
    T next()
    {
        if (_elem)
            _elem = _list->nextLink(_elem);
        return current();
    }
    T prev()
    {
        if (_elem)
            _elem = _list->prevLink(_elem);
        return current();
    }
    // Without moving: the datum after / before the current one.
    T peekNext() const
    {
        dLink* l = _elem ? _list->nextLink(_elem) : nullptr;
        return l ? static_cast<Link*>(l)->_datum : T();
    }
    T peekPrev() const
    {
        dLink* l = _elem ? _list->prevLink(_elem) : nullptr;
        return l ? static_cast<Link*>(l)->_datum : T();
    }

    // Moves to the first link holding `d`; its 0-based index, or -1 (the
    // cursor is then off the list).
    int find(const T& d)
    {
        int i = 0;
        for (first(); _elem; next(), ++i)
            if (link()->_datum == d)
                return i;
        return -1;
    }

    // 0-based position of the current link, or -1. O(N).
    int index() const
    {
        if (!_elem || !_list)
            return -1;
        int i = 0;
        for (dLink* l = _list->firstLink(); l; l = _list->nextLink(l), ++i)
            if (l == _elem)
                return i;
        return -1;
    }
};
