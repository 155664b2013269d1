#pragma once

#include <Xm/Xm.h>

#include <string>
#include <vector>

#include "qip/Support/List.h"

// Opens a source file at a line in the user's editor, started as a separate
// process from a command template ("%f" the file, "%l" the line). It looks
// the file up in the directories it has seen, asks for the file when it
// cannot find it and for the editor command when none is set (LUMOX_VISUAL).
// One request at a time: requests that arrive while one waits in a dialog are
// ignored. It owns its remembered directories, the file name and template.
class ExternalBrowser {
public:
    ExternalBrowser();
    ~ExternalBrowser();

    // Opens `file` in directory `dir` (the working directory when empty) at
    // `line`, through the one browser of the program.
    static void browse(char* dir, char* file, int line);
    static ExternalBrowser* instance();

    void view(char* dir, char* file, int line);
    void browseFile(const char* dir, const char* file);
    void makeCmdTmplt(const char* tmplt);
    // Finds `file` in the remembered directories (remembering `dir` first);
    // opens the file dialog when it is nowhere.
    void makeFilename(const char* dir, const char* file);
    void getFilename(const char* file);
    void getCmdTmplt(const char* preset);
    void invokeBrowser();
    // Starts `cmd`, split into words at white space; the child is not waited for.
    void executeCmnd(const char* cmd);
    // Ends the request in progress and closes its dialog.
    void cancel();

    // The command a template gives for a file and line: "%f" the file, "%l"
    // the line, any other "%" pair dropped.
    static std::string makeCmnd(const char* tmplt, const char* filename, int line);
    static std::vector<std::string> splitWords(const char* cmd);

    int locked() const { return _locked; }
    const char* filename() const { return _filename; }
    const char* cmdTmplt() const { return _cmdTmplt; }
    const List<char*>& paths() const { return _paths; }
    Widget fileDialog() const { return _fileBox; }
    Widget editorPrompt() const { return _visBox; }

    // What was asked last: for diagnostics and tests.
    static const char* lastDir();
    static const char* lastFile();
    static int lastLine();
    static int requests();

private:
    ExternalBrowser(const ExternalBrowser&) = delete;
    ExternalBrowser& operator=(const ExternalBrowser&) = delete;

    void fileChosen(XmString value);
    void templateGiven(XmString value);
    static void closeDialog(Widget& dialog);
    static void spawnChild(void* command);

    static void fileOk_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void fileCancel_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void visOk_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void visCancel_cbk(Widget w, XtPointer clientData, XtPointer callData);
    static void visHelp_cbk(Widget w, XtPointer clientData, XtPointer callData);

    int _locked;
    Widget _visBox;
    Widget _fileBox;
    List<char*> _paths;
    int _lineno;
    char* _filename;
    char* _cmdTmplt;
};

extern ExternalBrowser* theBrowser;
