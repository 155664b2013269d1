#pragma once

// Shows a help topic in the help window. Until the help window exists this
// only records the request, so that the cells that name topics are wired.
void showHelpTopic(const char* topic);

// The last topic asked for, or null.
const char* lastHelpTopic();
