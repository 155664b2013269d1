#pragma once

#include <X11/Intrinsic.h>

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "app/messages/MsgTraversal.h"
#include "qip/Components/qipIcon.h"
#include "qip/Components/qipTCanvas.h"
#include "qip/Components/qipTranslationRecords.h"

class MsgArea;
class NetClient;
class ErrorMsg;

// The upper pane of the message area: one line per client (its sign-on line)
// and per shown message, each with a small icon in front. It owns the
// selection cursor and turns clicks and keys into selection, activation,
// deletion and navigation; every new selection goes to the message area so
// that the body pane and the buttons follow. Redraws caused by arriving
// messages are gathered and done once the burst has been read.
class MsgHeaders : public qipTCanvas {
public:
    MsgHeaders(const char* name, MsgArea* owner);
    ~MsgHeaders() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    void helpRequested() const override;
    const char* className() const override { return "MsgHeaders"; }

    void refresh(Drawable d, qipView view) override;

    // Selects the line under pixel row `y` of the view; 0 or -1.
    int select(int y);
    // Activates the selected item after a click; 0 or -1.
    int activate();
    // Deletes the selected message or the selected finished client; the
    // number of shown messages removed, or -1.
    int remove();
    // Move the selection one line and keep it in view; 0 or -1.
    int next();
    int prev();

    // Reports the cursor's item to the owner and to the item's client.
    void newSelection();
    // After suppressions changed: moves off a hidden message and redraws.
    void validateSelection();
    // A client signed on or a message arrived: one line more.
    void newClient(NetMsg* item);
    // The client's shown messages changed by `n` lines.
    void clientSizeAdjust(int n);
    // Redraws without the client's active mark.
    void clientSignedOff(NetClient* c);
    // Recounts the lines from the clients (after a sort or a load).
    void recount();

    void annotate(ErrorMsg* m, Drawable d, int line);
    void annotate(NetClient* c, Drawable d, int line);

    // Redraws at the next quiet moment of the event loop (at most 100 ms later).
    void scheduleRender();

    MsgTraversal& cursor() { return _cursor; }
    // The text a line shows for `item` of `client`.
    static const char* lineText(NetClient* client, NetMsg* item);
    // The icon a message's line carries, chosen from its category.
    qipIcon* iconFor(const ErrorMsg* m);

    Pixel selectedMessageBg() const { return _selMsgBg; }
    Pixel clientBg() const { return _conBg; }
    Pixel selectedClientBg() const { return _selConBg; }

    enum { TextColumn = 6, IconX = 11, IconY = 4, Columns = 90, ViewLines = 10 };

    // One shown line: the client, its place in the client list, the item
    // (null for the trash can's own line) and its place inside the client.
    struct Line {
        NetClient* client;
        List<NetClient*>::Link* clientLink;
        NetMsg* item;
        int index;
    };
    // Every shown line in order, rebuilt after the lines changed. Redraws and
    // steps use it, so that they cost what the view shows however long the
    // list is.
    const std::vector<Line>& lines();
    // The lines changed (a message arrived, was deleted, hidden or sorted).
    void invalidateLines() { _linesValid = false; }

private:
    // Puts the cursor on line `p` of the index; false when there is none.
    bool placeCursor(int p);
    // The cursor's line in the index, found again after the lines changed.
    int cursorLine();
    void keepInView(int p);
    void focus(const char* how);
    void renderNow();
    void cancelPendingRender();
    void takeParentBackground();

    static void click1_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void dclick1_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void deleteKey_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void nextKey_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void prevKey_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void load_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void save_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void focus_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void describe(void* self, FILE* out);
    const char* iconName(const ErrorMsg* m);
    static Boolean render_wp(XtPointer clientData);
    static void render_to(XtPointer clientData, XtIntervalId* id);

    int _clicked;
    MsgArea* _owner;
    MsgTraversal _cursor;
    Pixel _selMsgBg;
    Pixel _conBg;
    Pixel _selConBg;
    qipIcon _zxImg;
    qipIcon _bugImg;
    qipIcon _leakImg;
    qipIcon _signalImg;
    qipIcon _summaryImg;
    qipIcon _activeImg;
    XtWorkProcId _renderWork;
    XtIntervalId _renderTimer;
    std::vector<Line> _lines;
    std::unordered_map<const NetMsg*, int> _lineOf;
    bool _linesValid;

    static qipTranslationRecords<MsgHeaders> _records;
};
