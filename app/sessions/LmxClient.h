#pragma once

#include "app/sessions/MsgFilter.h"
#include "app/sessions/NetClient.h"

// The session of a runtime-checking program. Its messages are checked
// against one filter that all runtime clients share for the life of the
// process; a suppressed message is kept, marked and counted, but not shown.
class LmxClient : public NetClient {
public:
    explicit LmxClient(ConxnMsg* signOn) : NetClient(signOn) {}

    int append(ErrorMsg* m) override;
    void newSelection(NetMsg*) override {}
    void checkSuppressions() override {}
    // Hides later messages of m's error category in every runtime client,
    // and says so on the status bar.
    void suppress(ErrorMsg* m) override;
    // Marks the shown messages that the shared filter now matches as
    // suppressed; how many were hidden.
    int applyFilter() override;

    static MsgFilter _filter;
};
