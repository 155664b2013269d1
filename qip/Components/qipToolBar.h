#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

// A Form that lines tool groups up: normal groups from the left edge to the
// right, help groups from the right edge to the left. Groups are installed
// into the bar as they are added; the building code owns them.
class qipToolBar : public qipVCell {
public:
    explicit qipToolBar(const char* name) : qipVCell(name) {}

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipToolBar"; }

    // Groups added before the bar is installed are chained when it is.
    void addGroup(qipVCell* group);
    void addHelpGroup(qipVCell* group);
    // Takes a group out of its chain, closes the gap and unmanages the
    // group's widget; nothing happens when the group is not in the chain.
    void removeGroup(qipVCell* group);
    void removeHelpGroup(qipVCell* group);

    const List<qipVCell*>& groups() const { return _normalGroups; }
    const List<qipVCell*>& helpGroups() const { return _helpGroups; }

protected:
    // Removes `group` from `chain`, attaching its successor's `side` to the
    // group before it or to the form.
    void unchain(List<qipVCell*>& chain, qipVCell* group, const char* side, const char* sideWidget);

    List<qipVCell*> _helpGroups;
    List<qipVCell*> _normalGroups;
};
