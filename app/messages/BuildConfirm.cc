#include "app/messages/BuildConfirm.h"

#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include "app/records/ConxnMsg.h"
#include "app/sessions/NetClient.h"
#include "qip/Common/qipExec.h"

namespace {

// One argument as a shell would need it to read the same.
std::string quoted(const char* arg)
{
    std::string a = arg;
    if (!a.empty() && a.find_first_of(" \t\n'\"\\$`&|;<>()*?[]{}~#!") == std::string::npos)
        return a;
    std::string out = "'";
    for (char c : a)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

BuildConfirm::~BuildConfirm()
{
    if (_dialog) {
        XtRemoveCallback(_dialog, XmNdestroyCallback, destroyed_cbk, this);
        XtDestroyWidget(XtParent(_dialog));
    }
}

std::string BuildConfirm::question(NetClient* c)
{
    const qipExec* e = c ? c->analysedCommand() : nullptr;
    std::string command;
    for (int k = 0; e && e->argv() && k < e->argc() && e->argv()[k]; ++k)
        command += (k ? " " : "") + quoted(e->argv()[k]);
    const char* dir = e && e->workingDirectory() ? e->workingDirectory() : "";
    std::string from;
    switch (c ? c->_origin : NetClient::FromReport) {
    case NetClient::FromThisHost:
        from = "a client of yours on this host";
        break;
    case NetClient::FromRemote:
        from = "a client on another host (" + c->_peer + ")";
        break;
    default:
        from = "a report file";
        break;
    }
    return "Run this command again?\n\nCommand:    " + command + "\nDirectory:  " + dir + "\nFrom:       " + from;
}

void BuildConfirm::ask(Widget parent, NetClient* c, void (*run)(long, void*), void* data)
{
    if (!parent || !c)
        return;
    if (!_dialog) {
        _dialog = XmCreateQuestionDialog(parent, const_cast<char*>("confirmBuild"), nullptr, 0);
        XtUnmanageChild(XmMessageBoxGetChild(_dialog, XmDIALOG_HELP_BUTTON));
        XmString title = XmStringCreateLocalized(const_cast<char*>("Run command?"));
        XmString ok = XmStringCreateLocalized(const_cast<char*>("Run"));
        XtVaSetValues(_dialog, XmNdialogTitle, title, XmNokLabelString, ok, XmNdefaultButtonType,
                      XmDIALOG_CANCEL_BUTTON, nullptr);
        XmStringFree(title);
        XmStringFree(ok);
        XtAddCallback(_dialog, XmNokCallback, ok_cbk, this);
        XtAddCallback(_dialog, XmNdestroyCallback, destroyed_cbk, this);
    }
    _client = c->_id;
    _run = run;
    _data = data;
    std::string text = question(c);
    XmString message = XmStringCreateLtoR(const_cast<char*>(text.c_str()), const_cast<char*>(XmFONTLIST_DEFAULT_TAG));
    XtVaSetValues(_dialog, XmNmessageString, message, nullptr);
    XmStringFree(message);
    XtManageChild(_dialog);
}

void BuildConfirm::ok_cbk(Widget, XtPointer clientData, XtPointer)
{
    BuildConfirm* b = static_cast<BuildConfirm*>(clientData);
    long id = b->_client;
    b->_client = 0;
    if (id && b->_run)
        b->_run(id, b->_data);
}

void BuildConfirm::destroyed_cbk(Widget, XtPointer clientData, XtPointer) { static_cast<BuildConfirm*>(clientData)->_dialog = nullptr; }
