#pragma once

#include <X11/Intrinsic.h>

#include <cstdio>

#include "app/messages/MsgLine.h"
#include "qip/Components/qipTCanvas.h"
#include "qip/Components/qipTranslationRecords.h"
#include "qip/Support/List.h"

// The lower pane of the message area: the selected message's body, one line
// per text line. Lines between "<BEGINSTACKTRACE>" and "<ENDSTACKTRACE>" are
// stack-trace lines shown without their "<file:line>" prefix; a double click
// or Return on one opens that source line. The pane owns a private copy of
// the body that all its lines point into.
class MsgBody : public qipTCanvas {
public:
    explicit MsgBody(const char* name);
    ~MsgBody() override;

    void install(qipVCell* parent) override;
    void destroyed() override;
    void helpRequested() const override;
    const char* className() const override { return "MsgBody"; }

    // Replaces the shown text; null only clears the pane.
    void newBody(const char* body);
    void wipe();
    void refresh(Drawable d, qipView view) override;
    // Activates the line under pixel row `y` of the view.
    void activate(int y);

    const List<MsgLine*>& lines() const { return _lines; }
    // How many body lines the last newBody() counted, markers included.
    int lineCount() const { return _lineCount; }

private:
    static void describe(void* self, FILE* out);
    static void focus_cbk(Widget w, XEvent* e, String* params, Cardinal* n);
    static void dclick1_cbk(Widget w, XEvent* e, String* params, Cardinal* n);

    char* _body;
    List<MsgLine*> _lines;
    int _lineCount;

    static qipTranslationRecords<MsgBody> _records;
};
