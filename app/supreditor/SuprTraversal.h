#pragma once

#include "qip/Support/List.h"

class SuprFile;
class Suppression;
class ZxSuprRec;

// The cursor of the suppression editor's list. Each set shows one header row
// followed by one row per entry; `_pos` counts rows over all sets from 0,
// `_index` is 0 on a header row and the 1-based place of the entry in its set
// otherwise, `_supr` the entry (null on a header) and `_rec` stands at the
// row's set. up() and down() move the entry itself, across sets at their
// ends, and the cursor with it. It owns nothing.
class SuprTraversal {
public:
    explicit SuprTraversal(const List<ZxSuprRec*>* sets = nullptr);

    void sets(const List<ZxSuprRec*>* sets);

    // Each returns the new `_pos`, or -1 when it cannot move (the cursor
    // then stays where it was; reset() leaves it nowhere without sets).
    int reset();
    int first();
    int last();
    int locate(int row);
    int locate(Suppression* s);
    int next();
    int prev();
    int up();
    int down();

    ZxSuprRec* set() const { return _rec.current(); }
    SuprFile* file() const;
    // Rows of all sets together.
    int rows() const;

    int _pos;
    int _index;
    Suppression* _supr;
    ListIterator<ZxSuprRec*> _rec;

private:
    void clear();
    // The entry at 1-based `index` of the current set, or null.
    Suppression* entry(int index) const;
};
