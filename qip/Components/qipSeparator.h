#pragma once

#include "qip/Components/qipVCell.h"

// A Motif separator gadget, used between menu items and tools.
class qipSeparator : public qipVCell {
public:
    explicit qipSeparator(const char* name) : qipVCell(name) {}

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipSeparator"; }
};
