#include "qip/Components/qipWidgetDump.h"

#include <X11/IntrinsicP.h>
#include <X11/CoreP.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

static std::map<Widget, std::pair<qipDescribeFn, void*>>& describers()
{
    static std::map<Widget, std::pair<qipDescribeFn, void*>>* m = new std::map<Widget, std::pair<qipDescribeFn, void*>>;
    return *m;
}

void qipDescribeWidget(Widget w, qipDescribeFn fn, void* data) { describers()[w] = std::make_pair(fn, data); }

void qipForgetWidget(Widget w) { describers().erase(w); }

static void dumpOne(Widget w, const std::string& parentPath, FILE* out)
{
    std::string path = parentPath.empty() ? XtName(w) : parentPath + "." + XtName(w);
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
    if (XtIsWidget(w) && XtIsRealized(w)) {
        Window child;
        XWindowAttributes a;
        XTranslateCoordinates(XtDisplay(w), XtWindow(w), DefaultRootWindow(XtDisplay(w)), 0, 0, &x, &y, &child);
        if (XGetWindowAttributes(XtDisplay(w), XtWindow(w), &a)) {
            width = a.width;
            height = a.height;
            viewable = a.map_state == IsViewable;
        }
    } else if (XtIsRectObj(w)) {
        // A gadget draws in its parent's window.
        Widget p = XtParent(w);
        Position gx = 0, gy = 0;
        Dimension gw = 0, gh = 0;
        XtVaGetValues(w, XtNx, &gx, XtNy, &gy, XtNwidth, &gw, XtNheight, &gh, nullptr);
        if (p && XtIsRealized(p)) {
            Window child;
            XTranslateCoordinates(XtDisplay(p), XtWindow(p), DefaultRootWindow(XtDisplay(p)), gx, gy, &x, &y,
                                  &child);
            // A managed gadget shows where its parent's window shows.
            XWindowAttributes a;
            viewable = XtIsManaged(w) && XGetWindowAttributes(XtDisplay(p), XtWindow(p), &a)
                       && a.map_state == IsViewable;
        }
        width = gw;
        height = gh;
    }
    std::string label;
    if (XmIsLabel(w) || XmIsLabelGadget(w)) {
        XmString s = nullptr;
        XtVaGetValues(w, XmNlabelString, &s, nullptr);
        if (s) {
            char* text = static_cast<char*>(XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                            XmOUTPUT_ALL));
            if (text) {
                label = text;
                free(text);
            }
            XmStringFree(s);
        }
    }
    if (XmIsTextField(w)) {
        char* text = XmTextFieldGetString(w);
        if (text) {
            label = text;
            XtFree(text);
        }
    }
    for (char& c : label)
        if (c == '\n')
            c = ' ';
    fprintf(out, "%s %s %d %d %d %d %s%s%s %s\n", path.c_str(), XtClass(w)->core_class.class_name, x, y, width,
            height, XtIsManaged(w) ? "m" : "-", XtIsSensitive(w) ? "s" : "-", viewable ? "v" : "-",
            label.c_str());
    auto d = describers().find(w);
    if (d != describers().end())
        d->second.first(d->second.second, out);
    if (XtIsComposite(w)) {
        WidgetList kids = nullptr;
        Cardinal n = 0;
        XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &n, nullptr);
        for (Cardinal i = 0; i < n; ++i)
            dumpOne(kids[i], path, out);
    }
    if (XtIsWidget(w))
        for (Cardinal i = 0; i < w->core.num_popups; ++i)
            dumpOne(w->core.popup_list[i], path, out);
}

void qipDumpWidgetTree(Widget root, FILE* out) { dumpOne(root, "", out); }

namespace {
struct DumpRequest {
    Widget root;
    std::string path;
    XtSignalId id;
};
DumpRequest* theRequest = nullptr;

void onSignal(int)
{
    if (theRequest)
        XtNoticeSignal(theRequest->id);
}

void dump_cbk(XtPointer clientData, XtSignalId*)
{
    DumpRequest* r = static_cast<DumpRequest*>(clientData);
    std::string tmp = r->path + ".tmp";
    FILE* f = fopen(tmp.c_str(), "w");
    if (!f)
        return;
    qipDumpWidgetTree(r->root, f);
    fclose(f);
    // Readers never see a half-written file.
    rename(tmp.c_str(), r->path.c_str());
}
}  // namespace

void qipDumpWidgetTreeOnSignal(Widget root, const char* path)
{
    if (!root || !path || !*path || theRequest)
        return;
    theRequest = new DumpRequest{root, path, 0};
    theRequest->id = XtAppAddSignal(XtWidgetToApplicationContext(root), dump_cbk, theRequest);
    signal(SIGUSR1, onSignal);
}
