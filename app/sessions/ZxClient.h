#pragma once

#include "app/sessions/NetClient.h"
#include "qip/Common/qipExec.h"
#include "qip/Support/List.h"

class ZxErrMsg;
class ZxSuprRec;

// The session of one static-analysis run. Besides its violations it holds
// the analysed command (command line, environment and working directory) so
// that Rebuild can run it again, and its own suppression sets: the project
// set of its working directory (shared, first) and the sets of its command
// line after it (-Zop files shared, -Zoi lines its own). A violation is
// hidden when the last set with an opinion says so: the global sets first,
// then these. Every live ZxClient is listed in `activeClients`.
class ZxClient : public NetClient {
public:
    explicit ZxClient(ConxnMsg* signOn);
    ~ZxClient() override;

    const char* clientTag() const override { return "Zentrix"; }
    // Adds a violation in the current order, marked when it is suppressed.
    int append(ErrorMsg* m) override;
    // The suppression editor follows the selection.
    void newSelection(NetMsg* m) override;
    // Suppressions were edited: marks the violations again and reports the
    // change of shown lines to the message area.
    void checkSuppressions() override;
    // Opens the suppression editor on `m` (null: on the client as a whole).
    void suppress(ErrorMsg* m) override;
    // -1 without a command line to run again; 1 when suppressions were
    // edited since the analysis ran (a rebuild is suggested); else 0.
    int rebuildState() override;
    // Runs the analysed command again in its working directory; the new run
    // connects as a new client.
    void rebuild() override;
    // Saved with the analysed command, in the static-analysis layout.
    int saveTo(SessionWriter& writer) override;
    const qipExec* analysedCommand() const override { return &_executor; }

    // The context records of the analysed program: `count` strings packed
    // between `data` and `end`, or the directory.
    int setCmdline(int count, char* data, char* end);
    int setEnviron(int count, char* data, char* end);
    int setCwd(char* dir);
    const char* cwd() const { return _executor.workingDirectory(); }

    // Called by the suppression sources. A set already among the client's
    // moves to the end: the later place is its stronger one. `own`: the
    // client deletes the set with itself (a -Zoi set in memory).
    void cmdlineSuppression(ZxSuprRec* set, bool own);
    void projectSuppression(ZxSuprRec* set);
    // Whether the client's own sets changed since the last call (which
    // clears the mark).
    int hasNewSuppressions();
    // Loads the project and command-line sets once the context is known.
    void ensureSuppressions();
    // 1 when the sets in force hide `m`, else 0.
    int isSuppressed(ZxErrMsg* m);
    // The sets in force, in order of precedence: the global sets
    // (hard-wired, installation, home), the project set, the command-line
    // sets in argument order; the last set with an opinion decides. A file
    // with more than one of these roles (the home file that is also the
    // project file of a program run in HOME, a -Zop naming a file already
    // listed) is one set, counted once at its strongest role, which is its
    // last place here: the role a user named last and closest to the run.
    // Loads the client's sets first.
    void setsInForce(List<ZxSuprRec*>& out);

    int _invalidSuppressions;
    qipExec _executor;
    // The sets in force after the global ones, each once: the project set
    // (owned by ZxSuppress, shared with every client of the directory)
    // first, then the command-line sets. It may hold a global set, in its
    // stronger role here.
    List<ZxSuprRec*> _suppressions;

    static List<ZxClient*> activeClients;

private:
    // Marks every violation by the sets in force; the change in shown lines.
    int remark();
    // Drops the command-line sets, deleting the client's own.
    void dropCmdlineSets();
    // Calls visit(set) for each set in force, in the order of setsInForce(),
    // as the sets stand: the caller has loaded them.
    template <class Visit>
    void visitSets(Visit visit);
    // The context changed: the sets are loaded again and applied.
    void contextChanged();

    // The project set among `_suppressions`; not owned.
    ZxSuprRec* _project;
    // The sets of -Zoi lines among `_suppressions`, which this client owns
    // with their files.
    List<ZxSuprRec*> _ownSets;
    int _newSuppressions;
    int _loaded;
};
