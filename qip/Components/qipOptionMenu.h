#pragma once

#include "qip/Components/qipMenuPane.h"

// A Motif option menu: a label and a button that shows the chosen entry of
// its pull-down. The option menu widget is the cell's base; the entries are
// installed into the pull-down.
class qipOptionMenu : public qipMenuPane {
public:
    qipOptionMenu(const char* label, char mnemonic, const char* name) : qipMenuPane(label, mnemonic, name) {}

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipOptionMenu"; }

    // Shows `entry` (one of the items) as the chosen one; -1 when it is not
    // an installed entry of this menu.
    int select(qipVCell* entry);
    // The pull-down that holds the entries.
    Widget pulldown() const { return _clientArea; }
};
