#pragma once

#include <X11/Intrinsic.h>

#include "qip/Support/List.h"

// One entry of a translation table's client list: the widget an action
// procedure was called for, and the object that owns that widget.
template <class T>
struct translationRecord {
    translationRecord(Widget w, T* c) : _widget(w), _client(c) {}
    Widget _widget;
    T* _client;
};

// The (widget, object) records through which a static action procedure finds
// its object. The records are kept in a list that is never destroyed, so that
// objects with static lifetime may still remove themselves at exit. Lookups
// are O(N) in the number of registered widgets, which is a handful.
template <class T>
class qipTranslationRecords {
public:
    // Registers `client` for `w`, replacing an earlier client of `w`.
    void add(Widget w, T* client)
    {
        for (ListIterator<translationRecord<T>*> it(records()); it.valid(); it.next())
            if (it.current()->_widget == w) {
                it.current()->_client = client;
                return;
            }
        records().append(new translationRecord<T>(w, client));
    }

    // Removes every record of `client`.
    void forget(T* client)
    {
        for (ListIterator<translationRecord<T>*> it(records()); it.valid();) {
            translationRecord<T>* r = it.current();
            it.next();
            if (r->_client == client) {
                records().remove(r);
                delete r;
            }
        }
    }

    // The object registered for `w`, or null.
    T* find(Widget w) const
    {
        for (ListIterator<translationRecord<T>*> it(records()); it.valid(); it.next())
            if (it.current()->_widget == w)
                return it.current()->_client;
        return nullptr;
    }

    int length() const { return records().length(); }

private:
    List<translationRecord<T>*>& records() const
    {
        if (!_records)
            _records = new List<translationRecord<T>*>;
        return *_records;
    }
    mutable List<translationRecord<T>*>* _records = nullptr;
};
