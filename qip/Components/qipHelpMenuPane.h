#pragma once

#include "qip/Components/qipMenuPane.h"

// The menu pane whose cascade button is the menu bar's help widget, which
// Motif places at the right end of the bar.
class qipHelpMenuPane : public qipMenuPane {
public:
    qipHelpMenuPane(const char* label, char mnemonic, const char* name) : qipMenuPane(label, mnemonic, name) {}

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipHelpMenuPane"; }
};
