#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

class qipMenuPane;

// A Motif menu bar holding menu panes in the order they were added. The
// building code owns the panes.
class qipMenuBar : public qipVCell {
public:
    explicit qipMenuBar(const char* name) : qipVCell(name) {}

    void install(qipVCell* parent) override;
    const char* className() const override { return "qipMenuBar"; }

    // Appends a pane; a bar that is already installed installs it at once.
    virtual void addPane(qipMenuPane* pane);

    const List<qipMenuPane*>& panes() const { return _menuPanes; }

protected:
    List<qipMenuPane*> _menuPanes;
};
