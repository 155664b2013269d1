#include "qip/Common/ExternalBrowser.h"

#include <Xm/FileSB.h>
#include <Xm/SelectioB.h>
#include <Xm/Xm.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qip/Common/HelpWindow.h"
#include "qip/Common/qipSpawn.h"
#include "qip/Components/qipApplication.h"

ExternalBrowser* theBrowser = nullptr;

static const char defaultTemplate[] = "xterm -e vi +%l %f";

namespace {
std::string theLastDir;
std::string theLastFile;
int theLastLine = -1;
int theRequests = 0;
}  // namespace

const char* ExternalBrowser::lastDir() { return theLastDir.c_str(); }
const char* ExternalBrowser::lastFile() { return theLastFile.c_str(); }
int ExternalBrowser::lastLine() { return theLastLine; }
int ExternalBrowser::requests() { return theRequests; }

ExternalBrowser::ExternalBrowser()
    : _locked(0), _visBox(nullptr), _fileBox(nullptr), _lineno(-1), _filename(nullptr), _cmdTmplt(nullptr)
{
}

ExternalBrowser::~ExternalBrowser()
{
    cancel();
    for (ListIterator<char*> i(_paths); i.valid(); i.next())
        free(i.current());
    free(_filename);
    free(_cmdTmplt);
}

ExternalBrowser* ExternalBrowser::instance()
{
    if (!theBrowser)
        theBrowser = new ExternalBrowser();
    return theBrowser;
}

void ExternalBrowser::browse(char* dir, char* file, int line)
{
    theLastDir = dir ? dir : "";
    theLastFile = file ? file : "";
    theLastLine = line;
    ++theRequests;
    if (ExternalBrowser* b = instance())
        b->view(dir, file, line);
}

void ExternalBrowser::view(char* dir, char* file, int line)
{
    if (_locked)
        return;
    _locked = 1;
    _lineno = line;
    browseFile(dir, file);
}

void ExternalBrowser::browseFile(const char* dir, const char* file)
{
    makeFilename(dir, file);
    if (!_filename)
        return;  // the file dialog carries the request on
    if (!_cmdTmplt) {
        const char* visual = getenv("LUMOX_VISUAL");
        if (!visual || !*visual) {
            getCmdTmplt(defaultTemplate);
            return;
        }
        makeCmdTmplt(visual);
    }
    invokeBrowser();
}

void ExternalBrowser::makeCmdTmplt(const char* tmplt)
{
    char* copy = tmplt ? strdup(tmplt) : nullptr;
    if (!copy)
        return;
    free(_cmdTmplt);
    _cmdTmplt = copy;
}

static bool exists(const char* path) { return access(path, F_OK) == 0; }

void ExternalBrowser::makeFilename(const char* dir, const char* file)
{
    free(_filename);
    _filename = nullptr;
    char cwd[2048];
    if (!dir || !*dir)
        dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    if (exists(dir)) {
        bool known = false;
        for (ListIterator<char*> i(_paths); i.valid() && !known; i.next())
            known = strcmp(i.current(), dir) == 0;
        if (!known)
            if (char* copy = strdup(dir))
                _paths.append(copy);
    }
    if (file && *file) {
        for (ListIterator<char*> i(_paths); i.valid(); i.next()) {
            std::string path = std::string(i.current()) + "/" + file;
            if (exists(path.c_str())) {
                _filename = strdup(path.c_str());
                return;
            }
        }
    }
    getFilename(file ? file : "");
}

// The parent of the browser's dialogs; null without a running toolkit.
static Widget dialogParent() { return theApplication ? theApplication->baseWidget() : nullptr; }

void ExternalBrowser::getFilename(const char* file)
{
    Widget parent = dialogParent();
    if (!parent) {
        fprintf(stderr, " *** ExternalBrowser::getFilename: cannot find \"%s\"\n", file);
        _locked = 0;
        return;
    }
    XmString title = XmStringCreateLocalized(const_cast<char*>("Select file to browse"));
    XmString pattern = XmStringCreateLocalized(const_cast<char*>(file));
    Arg args[2];
    XtSetArg(args[0], XmNdialogTitle, title);
    XtSetArg(args[1], XmNpattern, pattern);
    _fileBox = XmCreateFileSelectionDialog(parent, const_cast<char*>("fileSelection"), args, 2);
    XmStringFree(title);
    XmStringFree(pattern);
    if (!_fileBox) {
        _locked = 0;
        return;
    }
    XtUnmanageChild(XmFileSelectionBoxGetChild(_fileBox, XmDIALOG_HELP_BUTTON));
    XtAddCallback(_fileBox, XmNokCallback, fileOk_cbk, this);
    XtAddCallback(_fileBox, XmNcancelCallback, fileCancel_cbk, this);
    XtManageChild(_fileBox);
}

void ExternalBrowser::getCmdTmplt(const char* preset)
{
    Widget parent = dialogParent();
    if (!parent) {
        fprintf(stderr, " *** ExternalBrowser::getCmdTmplt: no editor command (set LUMOX_VISUAL)\n");
        _locked = 0;
        return;
    }
    XmString title = XmStringCreateLocalized(const_cast<char*>("Specify editor"));
    XmString label = XmStringCreateLocalized(const_cast<char*>("Enter command to execute: "));
    XmString text = XmStringCreateLocalized(const_cast<char*>(preset));
    Arg args[3];
    XtSetArg(args[0], XmNdialogTitle, title);
    XtSetArg(args[1], XmNselectionLabelString, label);
    XtSetArg(args[2], XmNtextString, text);
    _visBox = XmCreatePromptDialog(parent, const_cast<char*>("getEditor"), args, 3);
    XmStringFree(title);
    XmStringFree(label);
    XmStringFree(text);
    if (!_visBox) {
        _locked = 0;
        return;
    }
    XtAddCallback(_visBox, XmNokCallback, visOk_cbk, this);
    XtAddCallback(_visBox, XmNcancelCallback, visCancel_cbk, this);
    XtAddCallback(_visBox, XmNhelpCallback, visHelp_cbk, this);
    XtManageChild(_visBox);
}

void ExternalBrowser::closeDialog(Widget& dialog)
{
    if (!dialog)
        return;
    Widget d = dialog;
    dialog = nullptr;
    XtUnmanageChild(d);
    XtDestroyWidget(XtParent(d));
}

void ExternalBrowser::cancel()
{
    closeDialog(_fileBox);
    closeDialog(_visBox);
    _locked = 0;
}

static std::string toText(XmString value)
{
    if (!value)
        return "";
    char* c = static_cast<char*>(XmStringUnparse(value, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                 XmOUTPUT_ALL));
    std::string s = c ? c : "";
    XtFree(c);
    return s;
}

void ExternalBrowser::fileChosen(XmString value)
{
    closeDialog(_fileBox);
    std::string path = toText(value);
    size_t slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos || slash + 1 == path.size()) {
        _locked = 0;
        return;
    }
    std::string dir = path.substr(0, slash);
    std::string file = path.substr(slash + 1);
    browseFile(dir.empty() ? "/" : dir.c_str(), file.c_str());
}

void ExternalBrowser::templateGiven(XmString value)
{
    closeDialog(_visBox);
    std::string t = toText(value);
    if (t.empty()) {
        _locked = 0;
        return;
    }
    makeCmdTmplt(t.c_str());
    invokeBrowser();
}

std::string ExternalBrowser::makeCmnd(const char* tmplt, const char* filename, int line)
{
    std::string out;
    for (const char* p = tmplt; p && *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (!p[1])
            break;
        ++p;
        if (*p == 'f')
            out += filename ? filename : "";
        else if (*p == 'l')
            out += std::to_string(line);
    }
    return out;
}

std::vector<std::string> ExternalBrowser::splitWords(const char* cmd)
{
    std::vector<std::string> words;
    std::string w;
    for (const char* p = cmd; p && *p; ++p) {
        if (isspace(static_cast<unsigned char>(*p))) {
            if (!w.empty())
                words.push_back(w), w.clear();
        } else {
            w += *p;
        }
    }
    if (!w.empty())
        words.push_back(w);
    return words;
}

void ExternalBrowser::invokeBrowser()
{
    if (!_cmdTmplt || !_filename) {
        _locked = 0;
        return;
    }
    std::string cmd = makeCmnd(_cmdTmplt, _filename, _lineno);
    executeCmnd(cmd.c_str());
}

void ExternalBrowser::spawnChild(void* command)
{
    const char* cmd = static_cast<const char*>(command);
    std::vector<std::string> words = splitWords(cmd);
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    if (argv[0])
        execvp(argv[0], argv.data());
    fprintf(stderr, " *** Error while attempting to spawn browser\n     execvp failed!\n");
    _exit(-1);
}

void ExternalBrowser::executeCmnd(const char* cmd)
{
    std::string copy = cmd ? cmd : "";
    if (qipSpawnDetached(spawnChild, &copy[0]) < 0)
        fprintf(stderr, " *** Error while attempting to execute \"%s\"\n     fork() failed!\n", copy.c_str());
    _locked = 0;
}

void ExternalBrowser::fileOk_cbk(Widget, XtPointer clientData, XtPointer callData)
{
    XmFileSelectionBoxCallbackStruct* cbs = static_cast<XmFileSelectionBoxCallbackStruct*>(callData);
    static_cast<ExternalBrowser*>(clientData)->fileChosen(cbs ? cbs->value : nullptr);
}

void ExternalBrowser::fileCancel_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<ExternalBrowser*>(clientData)->cancel();
}

void ExternalBrowser::visOk_cbk(Widget, XtPointer clientData, XtPointer callData)
{
    XmSelectionBoxCallbackStruct* cbs = static_cast<XmSelectionBoxCallbackStruct*>(callData);
    static_cast<ExternalBrowser*>(clientData)->templateGiven(cbs ? cbs->value : nullptr);
}

void ExternalBrowser::visCancel_cbk(Widget, XtPointer clientData, XtPointer)
{
    static_cast<ExternalBrowser*>(clientData)->cancel();
}

void ExternalBrowser::visHelp_cbk(Widget, XtPointer, XtPointer) { HelpWindow::showHelpOn("visual"); }
