#pragma once

#include "app/suppressions/SuprFile.h"

// The handle by which clients, the suppression sources and the editor hold
// one suppression set. It does not own the set: whoever made the pair
// deletes the SuprFile.
class ZxSuprRec {
public:
    explicit ZxSuprRec(SuprFile* file = nullptr) : _file(file) {}
    virtual ~ZxSuprRec() {}

    int save() { return _file ? _file->save() : -1; }
    int nSuppressions() const { return _file ? _file->nSuppressions() : 0; }

    SuprFile* _file;
};
