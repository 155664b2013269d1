#pragma once

#include "qip/Components/qipVCell.h"

// Two cells one above the other in a Form: the lower cell's top is attached
// to the upper cell, so it stands directly below it. The stack does not own
// the two cells.
class qipVStack : public qipVCell {
public:
    qipVStack(const char* name, qipVCell* upper, qipVCell* lower);

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipVStack"; }

    qipVCell* upper() const { return _upper; }
    qipVCell* lower() const { return _lower; }

protected:
    qipVCell* _upper;
    qipVCell* _lower;
};
