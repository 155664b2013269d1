#include <cassert>

#include "app/shell/LmxStsBar.h"
#include "app/shell/Lumox.h"
#include "app/messages/MsgArea.h"
#include "qip/Components/qipQuitCommand.h"
#include "qip/Support/cmdln.h"

// The global objects, made before main runs and in this order: the rest of
// the program relies on it (the message area and the status bar exist before
// any window builds its buttons).
static qipApplication* torvaneApp = new Lumox("lumox");
static bool globalsMade = (theMessageContainer = new MsgArea("msgArea"), theStatusBar = new LmxStsBar("statusBar"),
                           theQuitCommand = new qipQuitCommand("Exit", 0), true);

// Lumox has no options of its own; everything is left for the X Toolkit.
static option options[] = {{nullptr, 0, nullptr}};

int main(int argc, char** argv)
{
    assert(theApplication != 0);
    (void)torvaneApp;
    (void)globalsMade;
    cmdln_register(options);
    cmdln_parse(&argc, argv);
    theApplication->initialize(argc, argv);
    theApplication->appMain(argc, argv);
    return 0;
}
