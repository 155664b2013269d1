#include "app/supreditor/SuprTraversal.h"

#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "app/suppressions/ZxSuprRec.h"

static int entries(const ZxSuprRec* set) { return set ? set->nSuppressions() : 0; }

SuprTraversal::SuprTraversal(const List<ZxSuprRec*>* sets) : _pos(-1), _index(-1), _supr(nullptr), _rec(sets) {}

void SuprTraversal::sets(const List<ZxSuprRec*>* sets)
{
    _rec.list(sets);
    clear();
}

void SuprTraversal::clear()
{
    _pos = -1;
    _index = -1;
    _supr = nullptr;
    _rec.set(nullptr);
}

SuprFile* SuprTraversal::file() const { return set() ? set()->_file : nullptr; }

Suppression* SuprTraversal::entry(int index) const
{
    SuprFile* f = file();
    return f && index > 0 ? f->_suppressions.at(index - 1) : nullptr;
}

int SuprTraversal::rows() const
{
    int n = 0;
    if (_rec.list())
        for (ListIterator<ZxSuprRec*> i(_rec.list()); i.valid(); i.next())
            n += 1 + entries(i.current());
    return n;
}

int SuprTraversal::reset()
{
    if (!_rec.list() || !_rec.first()) {
        clear();
        return -1;
    }
    _pos = 0;
    _index = 0;
    _supr = nullptr;
    return _pos;
}

int SuprTraversal::first() { return reset(); }

int SuprTraversal::last()
{
    int n = rows();
    return n > 0 ? locate(n - 1) : -1;
}

int SuprTraversal::locate(int row)
{
    if (row < 0 || !_rec.list())
        return -1;
    int start = 0;
    for (ListIterator<ZxSuprRec*> i(_rec.list()); i.valid(); i.next()) {
        int n = entries(i.current());
        if (row <= start + n) {
            _rec = i;
            _pos = row;
            _index = row - start;
            _supr = entry(_index);
            return _pos;
        }
        start += n + 1;
    }
    return -1;
}

int SuprTraversal::locate(Suppression* s)
{
    if (!s || !_rec.list())
        return -1;
    int start = 0;
    for (ListIterator<ZxSuprRec*> i(_rec.list()); i.valid(); i.next()) {
        int k = 1;
        SuprFile* f = i.current() ? i.current()->_file : nullptr;
        if (f)
            for (ListIterator<Suppression*> e(f->_suppressions); e.valid(); e.next(), ++k)
                if (e.current() == s)
                    return locate(start + k);
        start += entries(i.current()) + 1;
    }
    return -1;
}

int SuprTraversal::next() { return _pos < 0 ? -1 : locate(_pos + 1); }

int SuprTraversal::prev() { return _pos <= 0 ? -1 : locate(_pos - 1); }

int SuprTraversal::up()
{
    SuprFile* f = file();
    if (!_supr || !f)
        return -1;
    Suppression* s = _supr;
    if (_index >= 2) {
        List<Suppression*>::Link* link = f->_suppressions.find(s);
        List<Suppression*>::Link* before = f->_suppressions.before(link);
        List<Suppression*>::Link* target = f->_suppressions.before(before);
        f->_suppressions.remove(s);
        f->_suppressions.join(s, target);
        return locate(_pos - 1);
    }
    ZxSuprRec* previous = _rec.peekPrev();
    if (!previous || !previous->_file)
        return -1;
    // The entry leaves its set and ends the one before, under that file's
    // persistence rule.
    f->removeSuppression(s);
    previous->_file->addSuppression(s);
    return locate(_pos - 1);
}

int SuprTraversal::down()
{
    SuprFile* f = file();
    if (!_supr || !f)
        return -1;
    Suppression* s = _supr;
    if (_index < f->nSuppressions()) {
        List<Suppression*>::Link* link = f->_suppressions.find(s);
        List<Suppression*>::Link* after = f->_suppressions.after(link);
        f->_suppressions.remove(s);
        f->_suppressions.join(s, after);
        return locate(_pos + 1);
    }
    ZxSuprRec* following = _rec.peekNext();
    if (!following || !following->_file)
        return -1;
    f->removeSuppression(s);
    following->_file->addSuppressionAfter(s, nullptr);
    return locate(_pos + 1);
}
