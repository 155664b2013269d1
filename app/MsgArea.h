#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

class NetClient;
class NetMsg;
class ErrorMsg;
class NextBtn;
class PrevBtn;
class DelBtn;
class LoadBtn;
class SaveBtn;
class SaveAsBtn;
class SortBtn;
class SuprBtn;
class BuildBtn;
class ExitBtn;

// The controller of the main window's message area. It owns the client
// sessions (the trash can that takes messages of unknown origin first), keeps
// the count of shown messages on the status bar, and runs the commands that
// the tool-bar buttons, menu entries and keys call. Exactly one exists:
// `theMessageContainer`.
class MsgArea : public qipVCell {
public:
    explicit MsgArea(const char* name);
    ~MsgArea() override;

    void install(qipVCell* parent) override;
    const char* className() const override { return "MsgArea"; }

    // Calls from the network and report-file side.
    void clientSignOn(NetClient* c);
    void newMessage(long id, ErrorMsg* m);
    void clientSignOff(long id);
    void clientSizeAdjust(int n);

    // Call from the header list when the selection changes.
    void newSelection(NetClient* c, NetMsg* m);

    // Commands.
    int next();
    int prev();
    int del();
    int load();
    int save();
    int saveAs();
    int sort();
    int suppress();
    int rebuild();

    // Button registry: each button registers itself and follows the rules
    // for its kind.
    void registerBtn(NextBtn* b);
    void registerBtn(PrevBtn* b);
    void registerBtn(DelBtn* b);
    void registerBtn(LoadBtn* b);
    void registerBtn(SaveBtn* b);
    void registerBtn(SaveAsBtn* b);
    void registerBtn(SortBtn* b);
    void registerBtn(SuprBtn* b);
    void registerBtn(BuildBtn* b);
    void registerBtn(ExitBtn* b);
    void activateBtns();
    void deactivateBtns();
    void updateBuildBtn(NetClient* c);

    int nMessages() const { return _nMessages; }
    const List<NetClient*>& clients() const { return _clients; }
    NetClient* trashcan() const { return _trashcan; }

private:
    template <class B>
    void initBtn(B* b);

    List<NextBtn*> _nextBtns;
    List<PrevBtn*> _prevBtns;
    List<DelBtn*> _delBtns;
    List<LoadBtn*> _loadBtns;
    List<SaveBtn*> _saveBtns;
    List<SaveAsBtn*> _saveAsBtns;
    List<SortBtn*> _sortBtns;
    List<SuprBtn*> _suprBtns;
    List<BuildBtn*> _buildBtns;
    List<ExitBtn*> _exitBtns;
    int _nMessages;
    NetClient* _trashcan;
    List<NetClient*> _clients;
    int _criterion;
};

extern MsgArea* theMessageContainer;
