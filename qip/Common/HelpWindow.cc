#include "qip/Common/HelpWindow.h"

#include <string>

static std::string theLastTopic;

void HelpWindow::showHelpOn(const char* topic)
{
    if (!topic || !*topic)
        return;
    theLastTopic = topic;
}

const char* HelpWindow::lastTopic() { return theLastTopic.empty() ? nullptr : theLastTopic.c_str(); }
