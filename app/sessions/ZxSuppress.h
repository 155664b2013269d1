#pragma once

#include "qip/Support/List.h"

class ZxClient;
class ZxSuprRec;

// The owner of every suppression set that lives in a file, and of the
// hard-wired set: the global option files (installation and home
// directory), one project set per working directory and one set per file a
// client's command line names ("-Zop FILE"). One file, by whatever path or
// role it is reached, is one set, read once and saved once: a later role
// shares the set made first. The sets of "-Zoi LINE" options live in memory
// and belong to their client. Made on first use; the sets live for the run.
class ZxSuppress {
public:
    virtual ~ZxSuppress();

    // Makes the instance and reads the global sets, once.
    static ZxSuppress* initialize();
    static ZxSuppress* getGlobalSuppressions(ZxClient&) { return initialize(); }
    // The hard-wired set first, then the global files in reading order.
    static const List<ZxSuprRec*>& globalSuppressions();
    static void getProjectSuppressions(ZxClient& client);
    static void getCmdlineSuppressions(ZxClient& client);
    // A set was edited: every client marks its violations again and the
    // message area redraws.
    static void invalidateSuppression(ZxSuprRec& set);
    static void notifyClients();
    // The option-reader callback for global files and command lines.
    static void processOption(char* tool, char* option, char* value);
    // The set of the file `path` names (compared as files, not as texts),
    // among the global, project and command-line file sets; or null.
    static ZxSuprRec* findFileSet(const char* path);
    // Forgets every set and the instance, so that the next use reads the
    // files again. For tests; no client may hold a set any more.
    static void release();

    const List<ZxSuprRec*>& projectSuppressions() const { return _projectSuppressions; }

protected:
    ZxSuppress();

    void loadGlobalSuppressions();
    void loadProjectSuppressions(ZxClient& client);
    void loadCmdlineSuppressions(ZxClient& client);
    void loadSuppressions(int source, const char* path, long line, const char* option, const char* value);

    ZxClient* _currentClient;
    ZxSuprRec* _currentRecord;
    List<ZxSuprRec*> _projectSuppressions;
    // The files named by clients' -Zop options, shared by every client
    // that names them.
    List<ZxSuprRec*> _namedSuppressions;

    static ZxSuppress* _self;
    // Made on first use and never destroyed: the sets stay reachable for
    // the life of the process, whatever order static objects end in.
    static List<ZxSuprRec*>* _globalSuppressions;

private:
    ZxSuppress(const ZxSuppress&) = delete;
    ZxSuppress& operator=(const ZxSuppress&) = delete;
};
