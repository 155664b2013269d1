#pragma once

#include <X11/Intrinsic.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/supreditor/SuprMenuSelector.h"
#include "app/supreditor/SuprTextSelector.h"
#include "app/supreditor/SuprTraversal.h"
#include "qip/Components/qipIcon.h"
#include "qip/Components/qipScrollingList.h"
#include "qip/Components/qipToolGroup.h"
#include "qip/Support/List.h"

class SuprWindow;
class SuprWinBtn;
class ZxClient;
class ZxErrMsg;
class ZxSuprRec;
class qipToolBar;

// The list of the suppression editor: one row per suppression set (its
// header) and one per entry, for the global sets and the sets of the client
// selected in the main window. It owns the cursor, the buttons that act on
// the cursor's row, and the pop-up selectors that edit one field of an
// entry; the sets and the client belong to others. Every change that can
// alter which violations are hidden is passed to the suppression sources at
// once, so the main window follows.
class SuprHeaders : public qipScrollingList {
public:
    SuprHeaders(const char* name, SuprWindow* win);
    ~SuprHeaders() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    void helpRequested() const override;
    const char* className() const override { return "SuprHeaders"; }
    void refresh(Drawable d, qipView view) override;

    // Each returns 0 when it did something, -1 when it could not.
    int next() override;
    int prev() override;
    int del() override;
    virtual int create();
    virtual int add();
    virtual int up();
    virtual int down();
    virtual int cancel() { return 0; }
    virtual int apply() { return 0; }
    virtual int save();
    int select(int row) override;
    // A click at pixel (x, y) of the drawing area: edits the clicked field
    // of the cursor's row.
    int activate(int x, int y) override;

    // The client and violation selected in the main window.
    void setContext(ZxClient* client, ZxErrMsg* msg);
    // The client's sets changed (or it goes): the rows are built again.
    void clientSetsChanged(ZxClient& client);
    void clientGone(ZxClient& client);
    // Shows nothing until the next context: the sets are gone.
    void forgetSets();
    // Sizes the canvas to the rows and redraws.
    void show();

    // Called back by the selectors with the chosen value.
    void newSuppressionField(int type);
    void newPersistenceField(int transient);
    void newItemField(int item);
    void newSeverityField(int severity);
    void newClassField(const char* pattern);
    void newFileField(const char* pattern);
    // A selector closed without a choice.
    void cancelEdit();

    // Every set and entry as text, for developers.
    void printSuppressions(FILE* out = stderr);
    void makeToolGroups(qipToolBar& bar);

    // The text of `row` as the list shows it ("" past the end).
    std::string rowText(int row);
    SuprTraversal& cursor() { return _cursor; }
    const List<ZxSuprRec*>& sets() const { return _supr; }
    ZxClient* client() const { return _client; }
    ZxErrMsg* context() const { return _context; }
    int editing() const { return _editing; }
    const List<SuprWinBtn*>& buttons() const { return _buttons; }
    SuprItemSelector& itemSelector() { return _suprItemSelector; }
    SuprSevSelector& severitySelector() { return _suprSevSelector; }
    SuprClassSelector& classSelector() { return _suprClassSelector; }
    SuprFileSelector& fileSelector() { return _suprFileSelector; }

    // Character columns at which the fields of an entry row end.
    static const int fieldColumns[];
    static const char* const columnHeader;
    enum { Columns = 160, ViewColumns = 112, ViewLines = 12, IconX = 2 };

private:
    void rebuildSets();
    void keepInView(int row);
    void finishEdit();
    void updateButtons();
    bool matchesContext(const Suppression* s) const;
    // Root position of character cell (col, row) of the content.
    void rootPosition(int col, int row, int& x, int& y);
    // The edit of the cursor's entry is done: tell the sources.
    void changed();
    // True while an edit is open; outside one the setter `operation` says so.
    bool editOpen(const char* operation);
    static void describe(void* self, FILE* out);

    int _editing;
    SuprWindow* _win;
    SuprTraversal _cursor;
    List<ZxSuprRec*> _supr;
    ZxClient* _client;
    ZxErrMsg* _context;
    qipToolGroup _navTools;
    qipToolGroup _editTools;
    qipToolGroup _fileTools;
    qipIcon _noneImg;
    qipIcon _checkImg;
    qipIcon _suprImg;
    qipIcon _unsuprImg;
    // The buttons below in tool-bar order; not owned.
    List<SuprWinBtn*> _buttons;
    SuprItemSelector _suprItemSelector;
    SuprSevSelector _suprSevSelector;
    SuprFileSelector _suprFileSelector;
    SuprClassSelector _suprClassSelector;
    // The list's own buttons; declared after the selectors so that they go
    // first.
    std::unique_ptr<SuprWinBtn> _nextBtn;
    std::unique_ptr<SuprWinBtn> _prevBtn;
    std::unique_ptr<SuprWinBtn> _delBtn;
    std::unique_ptr<SuprWinBtn> _newBtn;
    std::unique_ptr<SuprWinBtn> _upBtn;
    std::unique_ptr<SuprWinBtn> _downBtn;
    std::unique_ptr<SuprWinBtn> _saveBtn;
    // Whether the press of the current click landed on the cursor's row.
    int _armed;
    // The list's own colours; _fg and _bg are the canvas's.
    Pixel _selBg, _selFg, _suprBg, _suprFg, _hdrBg, _hdrFg, _shdDk, _shdLt;
};
