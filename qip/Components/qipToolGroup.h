#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

// A framed row of tools in a tool bar: a Frame named after the cell holding a
// horizontal, tightly packed RowColumn "<name>_work" that the tools are
// installed into, in the order they were added. The building code owns the
// tools.
class qipToolGroup : public qipVCell {
public:
    explicit qipToolGroup(const char* name) : qipVCell(name) {}

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipToolGroup"; }

    // Appends a tool (null is ignored); an installed group installs it at once.
    void addTool(qipVCell* tool);

    const List<qipVCell*>& tools() const { return _buttons; }

protected:
    List<qipVCell*> _buttons;
};
