#include "qip/Common/AboutBtn.h"

#include <cctype>
#include <string>

#include "qip/Common/HelpWindow.h"
#include "qip/Components/qipApplication.h"

static std::string aboutLabel()
{
    std::string name = theApplication && theApplication->name() ? theApplication->name() : "";
    // The application's name is its X class, written in lower case.
    if (!name.empty())
        name[0] = static_cast<char>(toupper(static_cast<unsigned char>(name[0])));
    return "About " + name + "...";
}

AboutBtn::AboutBtn() : qipTButton("aboutBtn", aboutLabel().c_str()) {}

void AboutBtn::triggered() { HelpWindow::showHelpOn("about"); }

void AboutBtn::helpRequested() const { HelpWindow::showHelpOn("about"); }
