#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

// One entry of a menu pane: the entry's cell and its mnemonic (0 for none).
// The item owns the cell only when the pane made it (a separator).
struct qipMenuPane_item {
    qipMenuPane_item(qipVCell* btn, char mnemonic, bool owned = false)
        : _mnemonic(mnemonic), _btn(btn), _owned(owned)
    {
    }
    ~qipMenuPane_item();

    char _mnemonic;
    qipVCell* _btn;
    bool _owned;

private:
    qipMenuPane_item(const qipMenuPane_item&) = delete;
    qipMenuPane_item& operator=(const qipMenuPane_item&) = delete;
};

// A pull-down menu and the cascade button in the parent (a menu bar) that
// opens it. Its entries are button cells installed into the pull-down in the
// order they were added; the building code owns them, the pane owns only the
// separators it made itself.
class qipMenuPane : public qipVCell {
public:
    qipMenuPane(const char* label, char mnemonic, const char* name);
    ~qipMenuPane() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "qipMenuPane"; }

    void setLabel(const char* label);
    // Appends an entry; a mnemonic of 0 sets none. A pane that is already
    // installed installs the entry at once.
    void addButton(qipVCell* btn, char mnemonic);
    void addSeparator();

    const char* label() const { return _label; }
    char mnemonic() const { return _mnemonic; }
    // The cascade button that opens the pull-down.
    Widget cascade() const { return _pane; }
    const List<qipMenuPane_item*>& items() const { return _buttons; }

protected:
    // Creates the pull-down under the parent's client area as base and
    // client area.
    void createPulldown(qipVCell* parent);
    void installItem(qipMenuPane_item* item);
    void installItems();

    char* _label;
    char _mnemonic;
    Widget _pane;
    List<qipMenuPane_item*> _buttons;
};
