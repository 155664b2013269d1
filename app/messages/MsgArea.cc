#include "app/messages/MsgArea.h"

#include <Xm/FileSB.h>
#include <Xm/PanedW.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/NetClient.h"
#include "app/network/ConnectionFactory.h"
#include "app/sessions/StatusView.h"
#include "app/sessions/SuppressionView.h"
#include "qip/Common/ExternalBrowser.h"
#include "app/messages/TorvaneBtn.h"
#include "qip/Components/qipApplication.h"

MsgArea* theMessageContainer = nullptr;

MsgArea::MsgArea(const char* name)
    : qipVCell(name),
      _nMessages(0),
      _body("MessageBody"),
      _dialogBox(nullptr),
      _soliciting(SolicitingNothing),
      _trashcan(nullptr),
      _criterion(sortByTime),
      _headers("MessageHeaders", this)
{
    _trashcan = new NetClient(0L);
    _clients.append(_trashcan);
    SessionSink::install(this);
    SourceOpener::install(&_opener);
}

MsgArea::~MsgArea()
{
    if (SessionSink::current() == this)
        SessionSink::install(nullptr);
    if (SourceOpener::current() == &_opener)
        SourceOpener::install(nullptr);
    for (ListIterator<NetClient*> i(_clients); i.valid(); i.next())
        delete i.current();
    _clients.clear();
}

void MsgArea::install(qipVCell* parent)
{
    // The two panes share the height; the user moves the sash between them.
    _base = XtVaCreateManagedWidget(_name, xmPanedWindowWidgetClass, parent->clientArea(), XmNsashWidth, 12,
                                    XmNsashHeight, 8, XmNspacing, 10, nullptr);
    _clientArea = _base;
    _headers.install(this);
    _body.install(this);
    installDestroyHandler();
    deactivateBtns();
}

void MsgArea::destroyed()
{
    _dialogBox = nullptr;
    qipVCell::destroyed();
}

// ---- the network and report-file side ------------------------------------

void MsgArea::clientSignOn(NetClient* c)
{
    if (!c)
        return;
    if (!hasClients())
        activateBtns();
    _clients.append(c);
    _headers.newClient(c->_signature);
}

void MsgArea::newMessage(long id, ErrorMsg* m)
{
    if (!m)
        return;
    // The latest session with the id: a reused process id belongs to the
    // program that signed on last.
    NetClient* client = nullptr;
    ListIterator<NetClient*> i(_clients);
    for (i.last(); i.valid(); i.prev())
        if (i.current()->_id == id && i.current() != _trashcan) {
            client = i.current();
            break;
        }
    if (!client) {
        fprintf(stderr, " **** MsgArea::newMessage(): message from unknown client (id=%ld)\n", id);
        client = _trashcan;
    }
    // A message nobody took would be lost memory.
    if (client->append(m) < 0) {
        delete m;
        return;
    }
    if (m->_suppressed == Yes)
        return;
    // The trash can shows its messages under its own line but they are not
    // counted: they belong to no client.
    _headers.newClient(m);
    if (client == _trashcan)
        return;
    ++_nMessages;
    StatusView::messages(_nMessages);
}

void MsgArea::clientSignOff(long id)
{
    for (ListIterator<NetClient*> i(_clients); i.valid(); i.next()) {
        NetClient* c = i.current();
        if (c->_id == id && c->_status == NetClient::Connected) {
            c->disconnect();
            _headers.clientSignedOff(c);
            if (c == currentClient())
                updateBuildBtn(c);
            return;
        }
    }
}

void MsgArea::clientSizeAdjust(int n)
{
    _nMessages += n;
    StatusView::messages(_nMessages);
    _headers.clientSizeAdjust(n);
}

int MsgArea::removeClient(NetClient* c) { return c == _trashcan ? -1 : _clients.remove(c); }

void MsgArea::countRemoved(int n)
{
    _nMessages -= n;
    StatusView::messages(_nMessages);
}

void MsgArea::suppressionsChanged()
{
    _headers.validateSelection();
    _headers.recount();
}

NetClient* MsgArea::currentClient() { return _headers.cursor().client(); }

long MsgArea::nextClientNumber() { return ++ConnectionFactory::_token; }

void MsgArea::EditorOpener::open(const char* dir, const char* file, int line)
{
    ExternalBrowser::browse(const_cast<char*>(dir), const_cast<char*>(file), line);
}

// ---- selection ------------------------------------------------------------

void MsgArea::newSelection(NetClient* c, NetMsg* m)
{
    if (!c || !m || c == _trashcan) {
        if (SuppressionView* view = SuppressionView::current())
            view->changeContext(nullptr, nullptr);
        _body.newBody(nullptr);
        return;
    }
    const char* h = c->_signature ? c->_signature->id() : c->header();
    if (m == c->_signature) {
        _body.newBody(h);
    } else {
        const char* text = static_cast<ErrorMsg*>(m)->_body.text();
        std::string shown = std::string("\n  ") + h + "\n" + text;
        _body.newBody(shown.c_str());
    }
    updateBuildBtn(c);
}

// ---- commands ---------------------------------------------------------------

int MsgArea::next() { return _headers.next(); }

int MsgArea::prev() { return _headers.prev(); }

int MsgArea::del()
{
    int n = _headers.remove();
    if (!hasClients()) {
        _body.newBody(nullptr);
        deactivateBtns();
    }
    return n;
}

int MsgArea::sort()
{
    _criterion = _criterion == sortByTime ? sortByErrorCategory : sortByTime;
    for (ListIterator<NetClient*> i(_clients); i.valid(); i.next())
        i.current()->sort(_criterion);
    _headers.recount();
    StatusView::show(_criterion == sortByErrorCategory ? "Messages sorted by category" : "Messages sorted by time");
    return 0;
}

int MsgArea::suppress()
{
    NetClient* c = currentClient();
    if (!c || c == _trashcan)
        return -1;
    MsgTraversal& cursor = _headers.cursor();
    c->suppress(cursor.message());
    // The runtime clients share one filter: hide what it now matches in every
    // one of them, not only in the messages still to come.
    int hidden = 0;
    for (ListIterator<NetClient*> i(_clients); i.valid(); i.next())
        hidden += i.current()->applyFilter();
    if (hidden > 0) {
        _nMessages -= hidden;
        StatusView::messages(_nMessages);
        suppressionsChanged();
    }
    return 0;
}

int MsgArea::rebuild()
{
    NetClient* c = currentClient();
    if (!c || c == _trashcan)
        return -1;
    // A command runs only when the user has seen it and said so: it came
    // from a client or a file, not from the user.
    if (c->analysedCommand()) {
        _buildConfirm.ask(theApplication ? theApplication->baseWidget() : nullptr, c, runConfirmed, this);
        return 0;
    }
    runRebuild(c);
    return 0;
}

void MsgArea::runRebuild(NetClient* c)
{
    c->rebuild();
    int r = c->rebuildState();
    for (ListIterator<BuildBtn*> i(_buildBtns); i.valid(); i.next())
        i.current()->state(r);
}

void MsgArea::runConfirmed(long id, void* self)
{
    MsgArea* area = static_cast<MsgArea*>(self);
    for (ListIterator<NetClient*> i(area->_clients); i.valid(); i.next())
        if (i.current()->_id == id && i.current() != area->_trashcan) {
            area->runRebuild(i.current());
            return;
        }
}

// ---- report files -----------------------------------------------------------

int MsgArea::getRptFilename()
{
    if (_soliciting != SolicitingNothing) {
        if (_dialogBox)
            XtManageChild(_dialogBox);
        return 0;
    }
    if (!theApplication || !theApplication->baseWidget())
        return -1;
    XmString title = XmStringCreateLocalized(const_cast<char*>("Select report file"));
    XmString pattern = XmStringCreateLocalized(const_cast<char*>("*.rpt"));
    Arg args[2];
    XtSetArg(args[0], XmNdialogTitle, title);
    XtSetArg(args[1], XmNpattern, pattern);
    _dialogBox = XmCreateFileSelectionDialog(theApplication->baseWidget(), const_cast<char*>("fileSelection"), args, 2);
    XmStringFree(title);
    XmStringFree(pattern);
    if (!_dialogBox)
        return -1;
    XtUnmanageChild(XmFileSelectionBoxGetChild(_dialogBox, XmDIALOG_HELP_BUTTON));
    XtAddCallback(_dialogBox, XmNokCallback, ok_cbk, this);
    XtAddCallback(_dialogBox, XmNcancelCallback, cancel_cbk, this);
    XtManageChild(_dialogBox);
    return 0;
}

void MsgArea::closeDialog()
{
    if (_dialogBox) {
        Widget d = _dialogBox;
        _dialogBox = nullptr;
        XtUnmanageChild(d);
        XtDestroyWidget(XtParent(d));
    }
}

void MsgArea::fileChosen(XmString value)
{
    char* name = nullptr;
    if (value)
        name = static_cast<char*>(XmStringUnparse(value, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                  XmOUTPUT_ALL));
    // A directory or nothing at all: the dialog stays for another choice.
    if (!name || !*name || name[strlen(name) - 1] == '/') {
        XtFree(name);
        return;
    }
    Soliciting what = _soliciting;
    closeDialog();
    if (what == SolicitingLoad) {
        _loadFile.reset(strdup(name));
        XtFree(name);
        load();
    } else if (what == SolicitingSave) {
        _saveFile.reset(strdup(name));
        XtFree(name);
        save();
    } else {
        XtFree(name);
    }
}

void MsgArea::ok_cbk(Widget, XtPointer clientData, XtPointer callData)
{
    XmFileSelectionBoxCallbackStruct* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(callData);
    static_cast<MsgArea*>(clientData)->fileChosen(cbs ? cbs->value : nullptr);
}

void MsgArea::cancel_cbk(Widget, XtPointer clientData, XtPointer)
{
    MsgArea* area = static_cast<MsgArea*>(clientData);
    area->closeDialog();
    area->_soliciting = SolicitingNothing;
}

int MsgArea::load()
{
    if (!_loadFile) {
        if (_soliciting != SolicitingNothing) {
            getRptFilename();
            return 0;
        }
        StatusView::show("Loading error report ...");
        if (getRptFilename() != 0)
            return -1;
        _soliciting = SolicitingLoad;
        return 0;
    }
    _soliciting = SolicitingNothing;
    loadFile();
    return 0;
}

// A report file that could not be loaded or saved: the status text, the
// reason after it, stays until the next message so that the user cannot
// miss it; the developer's line names the file and the code.
static void reportFileFailed(const char* status, const char* operation, const char* name, const LmxRptFile& file,
                             int code)
{
    std::string text = std::string(status) + " (" + file.reason(code) + ")";
    StatusView::showUntilNext(text.c_str());
    fprintf(stderr, " *** MsgArea::%s: %s: %s\n", operation, name, qipVLRecFile::error(code));
}

void MsgArea::loadFile()
{
    std::string name = _loadFile.get();
    _loadFile.reset();
    LmxRptFile file;
    int r = file.open(name.c_str(), qipVLRecFile::ReadOnly);
    if (r != 0) {
        reportFileFailed("Loading error report ... Error!", "loadFile", name.c_str(), file, r);
        return;
    }
    r = file.load();
    if (r >= 0)
        r = file.close();
    if (r < 0 || r > 0) {
        file.close();
        reportFileFailed("Loading error report ... Error!", "loadFile", name.c_str(), file, r);
        return;
    }
    StatusView::show("Loading error report ... Done");
}

int MsgArea::save()
{
    if (!_saveFile)
        return saveAs();
    StatusView::show("Saving error report ...");
    _soliciting = SolicitingNothing;
    saveFileNow();
    return 0;
}

void MsgArea::saveFileNow()
{
    LmxRptFile file;
    int r = file.open(_saveFile.get(), qipVLRecFile::CreateNew);
    if (r != 0) {
        reportFileFailed("Saving error report ... Error!", "saveFileNow", _saveFile.get(), file, r);
        return;
    }
    ListIterator<NetClient*> clients(_clients);
    clients.next();  // the trash can is not saved
    r = file.save(clients);
    // Only a whole save is closed, which puts it in place of the file; one
    // that failed goes with `file`, leaving the file as it was.
    if (r == 0)
        r = file.close();
    if (r != 0) {
        reportFileFailed("Saving error report ... Error!", "saveFileNow", _saveFile.get(), file, r);
        return;
    }
    StatusView::show("Saving error report ... Done");
}

int MsgArea::saveAs()
{
    if (_soliciting != SolicitingNothing) {
        getRptFilename();
        return 0;
    }
    StatusView::show("Saving error report ...");
    if (getRptFilename() != 0)
        return -1;
    _soliciting = SolicitingSave;
    return 0;
}

// ---- buttons ----------------------------------------------------------------

// A button starts switched off while there are no messages to act on.
template <class B>
void MsgArea::initBtn(B* b)
{
    if (_nMessages == 0)
        b->deactivate();
    else
        b->activate();
}

void MsgArea::registerBtn(NextBtn* b) { _nextBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(PrevBtn* b) { _prevBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(DelBtn* b) { _delBtns.append(b), initBtn(b); }
// Load and Exit are always available: nothing needs messages for them.
void MsgArea::registerBtn(LoadBtn* b) { _loadBtns.append(b), b->activate(); }
void MsgArea::registerBtn(SaveBtn* b) { _saveBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(SaveAsBtn* b) { _saveAsBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(SortBtn* b) { _sortBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(SuprBtn* b) { _suprBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(BuildBtn* b) { _buildBtns.append(b), initBtn(b); }
void MsgArea::registerBtn(ExitBtn* b) { _exitBtns.append(b), b->activate(); }

template <class B>
static void switchAll(const List<B*>& buttons, bool on)
{
    for (ListIterator<B*> it(buttons); it.valid(); it.next())
        on ? it.current()->activate() : it.current()->deactivate();
}

void MsgArea::activateBtns()
{
    switchAll(_nextBtns, true);
    switchAll(_prevBtns, true);
    switchAll(_delBtns, true);
    switchAll(_saveBtns, true);
    switchAll(_saveAsBtns, true);
    switchAll(_sortBtns, true);
    switchAll(_suprBtns, true);
    switchAll(_buildBtns, true);
}

void MsgArea::deactivateBtns()
{
    switchAll(_nextBtns, false);
    switchAll(_prevBtns, false);
    switchAll(_delBtns, false);
    switchAll(_saveBtns, false);
    switchAll(_saveAsBtns, false);
    switchAll(_sortBtns, false);
    switchAll(_suprBtns, false);
    switchAll(_buildBtns, false);
}

void MsgArea::updateBuildBtn(NetClient* c)
{
    if (!c)
        return;
    int r = c->rebuildState();
    for (ListIterator<BuildBtn*> i(_buildBtns); i.valid(); i.next()) {
        if (r >= 0)
            i.current()->activate();
        else
            i.current()->deactivate();
        i.current()->state(r);
    }
}
