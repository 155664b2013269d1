#pragma once

#include <memory>
#include <vector>

#include "qip/Components/qipMenuBar.h"
#include "qip/Components/qipToolBar.h"
#include "qip/Components/qipWindow.h"

// The main window: from top to bottom the menu bar, the tool bar, the message
// area and the status bar. It owns the menu panes, tool groups and buttons it
// builds; the message area and the status bar are the program's global cells.
class LumoxWindow : public qipWindow {
public:
    explicit LumoxWindow(const char* name);
    ~LumoxWindow() override;

    Widget createWorkArea(Widget parent) override;
    // Builds the window; closing it from the window manager works like Exit.
    void initialize() override;
    const char* className() const override { return "LumoxWindow"; }

    qipMenuBar& menubar() { return _menubar; }
    qipToolBar& toolbar() { return _toolbar; }

protected:
    // Closing the main window is asking to exit.
    void closeRequested() override;

private:
    // Keeps a cell this window made alive as long as the window.
    template <class C>
    C* keep(C* cell)
    {
        _cells.emplace_back(cell);
        return cell;
    }
    void buildMenus();
    void buildToolBar();

    qipMenuBar _menubar;
    qipToolBar _toolbar;
    std::vector<std::unique_ptr<qipVCell>> _cells;
};
