#pragma once

#include <Xm/Xm.h>

#include <cstdlib>
#include <memory>

#include "app/messages/BuildConfirm.h"
#include "app/messages/MsgBody.h"
#include "app/messages/MsgHeaders.h"
#include "app/records/SourceOpener.h"
#include "app/sessions/NetClient.h"
#include "app/sessions/SessionSink.h"
#include "qip/Components/qipVCell.h"
#include "qip/Support/List.h"

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
// sessions (the trash can that takes messages of unknown origin first), the
// header list and the body pane; it keeps the count of shown messages on the
// status bar, switches the command buttons with the state of the messages,
// and runs the commands that buttons, menu entries and keys call, the report
// file dialogs included. Exactly one exists: `theMessageContainer`. It is
// the program's session sink, and it opens messages' source lines in the
// editor: both are registered while it exists.
class MsgArea : public qipVCell, public SessionSink {
public:
    explicit MsgArea(const char* name);
    ~MsgArea() override;

    // What the open report-file dialog is for (`_soliciting`).
    enum Soliciting { SolicitingNothing = 0, SolicitingLoad = 1, SolicitingSave = 2 };

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "MsgArea"; }

    // Calls from the network and report-file side.
    void clientSignOn(NetClient* c) override;
    void newMessage(long id, ErrorMsg* m) override;
    void clientSignOff(long id) override;
    void clientSizeAdjust(int n) override;
    // Loaded sessions take their numbers from the connections' counter.
    long nextClientNumber() override;
    // Takes a finished client out of the list (the caller deletes it).
    int removeClient(NetClient* c);
    // `n` shown messages were deleted: the count on the status bar follows.
    void countRemoved(int n);
    // Suppressions changed: recount the lines, step off hidden messages, redraw.
    void suppressionsChanged() override;

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
    // The question a static analysis's Build asks first (null before).
    Widget buildQuestion() const { return _buildConfirm.dialog(); }

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
    // Whether any client besides the trash can is listed.
    bool hasClients() const { return _clients.length() > 1; }
    NetClient* trashcan() const { return _trashcan; }
    MsgHeaders& headers() { return _headers; }
    MsgBody& body() { return _body; }
    Widget dialog() const { return _dialogBox; }
    Soliciting soliciting() const { return _soliciting; }
    const char* saveFile() const { return _saveFile.get(); }

private:
    template <class B>
    void initBtn(B* b);
    // Opens the report-file dialog unless one is open; 0, or -1.
    int getRptFilename();
    void closeDialog();
    void fileChosen(XmString value);
    // The client the header list's cursor stands in, or null.
    NetClient* currentClient();
    void loadFile();
    void saveFileNow();

    static void ok_cbk(Widget w, XtPointer clientData, XtPointer callData);
    // Runs session `id`'s command again, once the user said so.
    static void runConfirmed(long id, void* self);
    void runRebuild(NetClient* c);

    // Opens source lines in the external editor.
    struct EditorOpener : SourceOpener {
        void open(const char* dir, const char* file, int line) override;
    };
    static void cancel_cbk(Widget w, XtPointer clientData, XtPointer callData);

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
    // Frees a file name that strdup() made.
    struct FreeText {
        void operator()(char* text) const { free(text); }
    };

    int _nMessages;
    MsgBody _body;
    Widget _dialogBox;
    // The chosen report file names, owned; `_loadFile` goes after each load.
    std::unique_ptr<char, FreeText> _loadFile;
    std::unique_ptr<char, FreeText> _saveFile;
    Soliciting _soliciting;
    // The first of `_clients`, which owns it like every other client.
    NetClient* _trashcan;
    // Owned: every client is destroyed with the message area or when the
    // header list deletes it.
    List<NetClient*> _clients;
    SortBy _criterion;
    MsgHeaders _headers;
    EditorOpener _opener;
    BuildConfirm _buildConfirm;
};

extern MsgArea* theMessageContainer;
