#include "app/sessions/ZxSuppress.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/suppressions/SuprFile.h"
#include "app/sessions/SessionSink.h"
#include "app/sessions/SuppressionView.h"
#include "app/sessions/ZxClient.h"
#include "app/suppressions/ZxSuprRec.h"
#include "options/options.h"

ZxSuppress* ZxSuppress::_self = nullptr;
List<ZxSuprRec*>* ZxSuppress::_globalSuppressions = nullptr;

static void deleteSets(List<ZxSuprRec*>& sets)
{
    for (ListIterator<ZxSuprRec*> i(sets); i.valid(); i.next()) {
        delete i.current()->_file;
        delete i.current();
    }
    sets.clear();
}

ZxSuppress::ZxSuppress() : _currentClient(nullptr), _currentRecord(nullptr) {}

ZxSuppress::~ZxSuppress() { deleteSets(_projectSuppressions); }

ZxSuppress* ZxSuppress::initialize()
{
    if (!_globalSuppressions)
        _globalSuppressions = new List<ZxSuprRec*>;
    if (!_self) {
        _self = new ZxSuppress();
        _self->loadGlobalSuppressions();
    }
    return _self;
}

const List<ZxSuprRec*>& ZxSuppress::globalSuppressions()
{
    initialize();
    return *_globalSuppressions;
}

void ZxSuppress::release()
{
    if (SuppressionView* view = SuppressionView::current())
        view->setsReleased();
    delete _self;
    _self = nullptr;
    if (_globalSuppressions)
        deleteSets(*_globalSuppressions);
}

void ZxSuppress::getProjectSuppressions(ZxClient& client) { initialize()->loadProjectSuppressions(client); }

void ZxSuppress::getCmdlineSuppressions(ZxClient& client) { initialize()->loadCmdlineSuppressions(client); }

void ZxSuppress::invalidateSuppression(ZxSuprRec&) { notifyClients(); }

void ZxSuppress::notifyClients()
{
    for (ListIterator<ZxClient*> i(ZxClient::activeClients); i.valid(); i.next())
        i.current()->checkSuppressions();
    if (SessionSink* sink = SessionSink::current())
        sink->suppressionsChanged();
}

ZxSuprRec* ZxSuppress::findProjectSuppressionRecord(const char* path)
{
    if (!path || !*path || !_self)
        return nullptr;
    for (ListIterator<ZxSuprRec*> i(_self->_projectSuppressions); i.valid(); i.next())
        if (i.current()->isNamed(path))
            return i.current();
    return nullptr;
}

void ZxSuppress::loadGlobalSuppressions()
{
    ZxOptionRead scope;
    SuprFile* hardwired = new SuprFile();
    hardwired->addSuppression("suppress", "type i");
    _globalSuppressions->prepend(new ZxSuprRec(hardwired));

    const char* home = getenv("HOME");
    if (!home || !*home)
        return;
    // The reader's last source is "."; in HOME it can only repeat the home
    // file, never take a client's project file for a global one.
    char* saved = getcwd(nullptr, 0);
    if (chdir(home) != 0) {
        fprintf(stderr, " *** ZxSuppress::loadGlobalSuppressions: cannot change to %s\n", home);
        free(saved);
        return;
    }
    _currentClient = nullptr;
    _currentRecord = nullptr;
    tvopt::_Torvane_read_options(processOption);
    _currentRecord = nullptr;

    // The installation and home directories may be one: keep the first set.
    for (ListIterator<ZxSuprRec*> i(*_globalSuppressions); i.valid(); i.next()) {
        const char* path = i.current()->_file->optionfile();
        if (!path)
            continue;
        ListIterator<ZxSuprRec*> j(*_globalSuppressions);
        j.set(i.link());
        for (j.next(); j.valid();) {
            ZxSuprRec* later = j.current();
            j.next();
            if (later->isNamed(path)) {
                _globalSuppressions->remove(later);
                delete later->_file;
                delete later;
            }
        }
    }
    if (saved && chdir(saved) != 0)
        fprintf(stderr, " *** ZxSuppress::loadGlobalSuppressions: cannot return to %s\n", saved);
    free(saved);
}

void ZxSuppress::processOption(char* tool, char* option, char* value)
{
    if (!_self || tvopt::_Torvane_is_old_option_file())
        return;
    int source = tvopt::current_torvane_file;
    const char* path = tvopt::_Torvane_get_option_filename();
    long line = tvopt::_Torvane_get_option_lineno();
    if (!*tool && !*option && !*value) {
        _self->loadSuppressions(source, path, line, nullptr, nullptr);
        return;
    }
    if (source <= tvopt::SRC_CWD && !tvopt::strieq(tool, "zentrix"))
        return;
    if (tvopt::streq(option, "suppress") || tvopt::streq(option, "unsuppress"))
        _self->loadSuppressions(source, path, line, option, value);
}

void ZxSuppress::loadSuppressions(int source, const char* path, long, const char* option, const char* value)
{
    // Global files are named by absolute paths: the working directory is
    // HOME only while they are read.
    char* absolute = nullptr;
    if (source < tvopt::SRC_CWD && path)
        absolute = tvopt::abs_path(path);
    if (absolute)
        path = absolute;
    bool entry = option && *option && value && *value;

    if (!_currentRecord || !_currentRecord->isNamed(path)) {
        SuprFile* file = new SuprFile(path, path ? nullptr : "Command line");
        ZxSuprRec* set = new ZxSuprRec(file);
        _currentRecord = set;
        if (source < tvopt::SRC_CWD) {
            file->tool("zentrix");
            _globalSuppressions->append(set);
        } else if (source == tvopt::SRC_CWD || !_currentClient) {
            delete file;
            delete set;
            _currentRecord = nullptr;
            free(absolute);
            return;
        } else {
            _currentClient->cmdlineSuppression(set);
        }
    }
    if (entry)
        _currentRecord->_file->addSuppression(option, value);
    free(absolute);
}

void ZxSuppress::loadCmdlineSuppressions(ZxClient& client)
{
    char** argv = client._executor.argv();
    int argc = client._executor.argc();
    if (!argv)
        return;
    ZxOptionRead scope;
    _currentClient = &client;
    _currentRecord = nullptr;
    const char* cwd = client.cwd();
    for (int k = 1; k < argc; ++k) {
        const char* arg = argv[k];
        if (!arg[0] || (strncmp(arg + 1, "Zop", 3) != 0 && strncmp(arg + 1, "Zoi", 3) != 0))
            continue;
        bool file = strncmp(arg + 1, "Zop", 3) == 0;
        const char* rest = arg + 4;
        if (!*rest) {
            if (k + 1 >= argc)
                break;
            rest = argv[++k];
        }
        if (file) {
            std::string path = rest;
            if (rest[0] != '/' && cwd && *cwd)
                path = std::string(cwd) + "/" + rest;
            tvopt::_Torvane_read_option_file(path.c_str(), processOption);
        } else {
            tvopt::_Torvane_read_option_line(rest, processOption);
        }
    }
    _currentRecord = nullptr;
    _currentClient = nullptr;
}

void ZxSuppress::loadProjectSuppressions(ZxClient& client)
{
    const char* cwd = client.cwd();
    if (!cwd || !*cwd)
        return;
    std::string path = std::string(cwd) + "/.qnrc";
    ZxSuprRec* set = findProjectSuppressionRecord(path.c_str());
    if (!set) {
        SuprFile* file = new SuprFile(path.c_str());
        file->loadSuppressions();
        set = new ZxSuprRec(file);
        _projectSuppressions.append(set);
    }
    client.projectSuppression(set);
}
