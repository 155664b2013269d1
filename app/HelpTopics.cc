#include "app/HelpTopics.h"

#include <string>

static std::string theLastTopic;

void showHelpTopic(const char* topic)
{
    if (topic)
        theLastTopic = topic;
}

const char* lastHelpTopic() { return theLastTopic.empty() ? nullptr : theLastTopic.c_str(); }
