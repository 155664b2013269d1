#pragma once

// Shows help topics. This is the entry point every help request goes through
// (menu entries, the About entry, context help and the cells that name a
// topic); it remembers the last topic asked for.
class HelpWindow {
public:
    static void showHelpOn(const char* topic);
    // The last topic asked for, or null.
    static const char* lastTopic();
};
