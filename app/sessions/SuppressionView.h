#pragma once

class ZxClient;
class ZxErrMsg;

// What shows and edits the static-analysis suppressions: the sessions and
// the suppression sets tell it when a client goes, when its suppressions
// changed, which violation is current and which one to suppress. The
// suppression editor registers itself at start; without it the calls do
// nothing.
class SuppressionView {
public:
    virtual ~SuppressionView() {}

    // `client` is about to be destroyed.
    virtual void clientMoribund(ZxClient& client) = 0;
    // `client`'s own suppression sets changed.
    virtual void invalidateClientSuppressions(ZxClient& client) = 0;
    // The selection moved to `m` of `client` (both null: to nothing the editor shows).
    virtual void changeContext(ZxClient* client, ZxErrMsg* m) = 0;
    // Open the editor on `m` of `client` (m null: on the client as a whole).
    virtual void suppress(ZxClient* client, ZxErrMsg* m) = 0;
    // The global suppression sets are being released.
    virtual void setsReleased() = 0;

    static SuppressionView* current() { return _current; }
    static void install(SuppressionView* view) { _current = view; }

private:
    static SuppressionView* _current;
};
