#include "app/supreditor/SuprWindow.h"

#include "app/sessions/SuppressionView.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>

#include "app/messages/Icons.h"
#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipApplication.h"

SuprWindow* SuprWindow::_theSuprWindow = nullptr;

SuprWindow::SuprWindow(const char* name)
    : qipWindow(name),
      _toolbar("toolBar"),
      _viewer("supr", this),
      _helpGroup("helpGrp"),
      _helpBtn(this, "Help", Icons::help(), Icons::helpDisabled()),
      _closeBtn(this),
      _columns(nullptr)
{
}

SuprWindow::~SuprWindow()
{
    if (_theSuprWindow == this)
        _theSuprWindow = nullptr;
    if (_base) {
        XtDestroyWidget(_base);
    }
}

SuprWindow* SuprWindow::initializeInstance()
{
    if (_theSuprWindow && !_theSuprWindow->baseWidget()) {
        delete _theSuprWindow;
        _theSuprWindow = nullptr;
    }
    if (!_theSuprWindow && theApplication && theApplication->baseWidget()) {
        _theSuprWindow = new SuprWindow("suprWindow");
        _theSuprWindow->initialize();
    }
    return _theSuprWindow;
}

void SuprWindow::suppress(ZxClient* client, ZxErrMsg* msg)
{
    SuprWindow* w = initializeInstance();
    if (!w)
        return;
    w->manage();
    w->view(client, msg);
}

void SuprWindow::changeContext(ZxClient* client, ZxErrMsg* msg)
{
    if (_theSuprWindow && _theSuprWindow->baseWidget())
        _theSuprWindow->_viewer.setContext(client, msg);
}

void SuprWindow::invalidateClientSuppressions(ZxClient& client)
{
    if (_theSuprWindow)
        _theSuprWindow->_viewer.clientSetsChanged(client);
}

void SuprWindow::clientMoribund(ZxClient& client)
{
    if (_theSuprWindow)
        _theSuprWindow->_viewer.clientGone(client);
}

void SuprWindow::setsReleased()
{
    if (_theSuprWindow)
        _theSuprWindow->_viewer.forgetSets();
}

void SuprWindow::view(ZxClient* client, ZxErrMsg* msg) { _viewer.setContext(client, msg); }

void SuprWindow::initialize()
{
    qipWindow::initialize();
    XtVaSetValues(_base, XmNtitle, "Zentrix Suppressions", XmNiconName, "Suppressions", nullptr);
    catchClose();
}

Widget SuprWindow::createWorkArea(Widget parent)
{
    _clientArea = parent;
    Widget frame = XtVaCreateManagedWidget("outerframe", xmFrameWidgetClass, parent, XmNmarginWidth, 0,
                                           XmNmarginHeight, 0, XmNshadowType, XmSHADOW_OUT, nullptr);
    Widget form = XtVaCreateManagedWidget("workarea", xmFormWidgetClass, frame, XmNmarginWidth, 5, XmNmarginHeight,
                                          5, nullptr);
    _clientArea = form;

    _toolbar.install(this);
    _viewer.makeToolGroups(_toolbar);
    _helpGroup.addTool(&_helpBtn);
    _helpGroup.addTool(&_closeBtn);
    _toolbar.addHelpGroup(&_helpGroup);
    XtVaSetValues(_helpGroup.baseWidget(), XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtVaSetValues(_toolbar.baseWidget(), XmNtopAttachment, XmATTACH_FORM, nullptr);

    // The titles stand over the list's columns only in the list's own font.
    XmString title = XmStringCreateLocalized(const_cast<char*>(SuprHeaders::columnHeader));
    _columns = XtVaCreateManagedWidget("columns", xmLabelWidgetClass, form, XmNlabelString, title, XmNalignment,
                                       XmALIGNMENT_BEGINNING, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget,
                                       _toolbar.baseWidget(), XmNtopOffset, 6, XmNleftAttachment, XmATTACH_FORM,
                                       XmNrightAttachment, XmATTACH_FORM, nullptr);
    XmStringFree(title);
    XmFontListEntry entry =
        XmFontListEntryLoad(XtDisplay(form), const_cast<char*>("Fixed"), XmFONT_IS_FONT,
                            const_cast<char*>(XmFONTLIST_DEFAULT_TAG));
    if (entry) {
        XmFontList fonts = XmFontListAppendEntry(nullptr, entry);
        XtVaSetValues(_columns, XmNfontList, fonts, nullptr);
        XmFontListEntryFree(&entry);
        XmFontListFree(fonts);
    }

    _viewer.install(this);
    XtVaSetValues(_viewer.baseWidget(), XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, _columns,
                  XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment,
                  XmATTACH_FORM, nullptr);
    return frame;
}

void SuprWindow::manage()
{
    bool first = !XtIsRealized(_base);
    if (first) {
        XtRealizeWidget(_base);
        placeBesideOtherWindow();
    }
    qipWindow::manage();
    alignColumnTitles();
    _viewer.show();
}


void SuprWindow::helpRequested() const { HelpWindow::showHelpOn("zx-supr"); }

void SuprWindow::alignColumnTitles()
{
    Widget area = _viewer.drawingArea();
    if (!_columns || !area || !XtIsRealized(area) || !XtIsRealized(_columns))
        return;
    Position areaX = 0, labelX = 0, y = 0;
    XtTranslateCoords(area, 0, 0, &areaX, &y);
    XtTranslateCoords(_columns, 0, 0, &labelX, &y);
    Dimension margin = 0, shadow = 0, highlight = 0;
    XtVaGetValues(_columns, XmNmarginWidth, &margin, XmNshadowThickness, &shadow, XmNhighlightThickness,
                  &highlight, nullptr);
    int left = areaX - labelX - margin - shadow - highlight;
    XtVaSetValues(_columns, XmNmarginLeft, static_cast<Dimension>(left > 0 ? left : 0), nullptr);
}

void SuprWindow::mapped() { alignColumnTitles(); }

namespace {
// The statics of the editor as the sessions' suppression view.
struct EditorView : SuppressionView {
    void clientMoribund(ZxClient& c) override { SuprWindow::clientMoribund(c); }
    void invalidateClientSuppressions(ZxClient& c) override { SuprWindow::invalidateClientSuppressions(c); }
    void changeContext(ZxClient* c, ZxErrMsg* m) override { SuprWindow::changeContext(c, m); }
    void suppress(ZxClient* c, ZxErrMsg* m) override { SuprWindow::suppress(c, m); }
    void setsReleased() override { SuprWindow::setsReleased(); }
};
}  // namespace

void SuprWindow::registerView()
{
    static EditorView view;
    SuppressionView::install(&view);
}
