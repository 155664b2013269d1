#include "app/sessions/ZxSuppress.h"

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

ZxSuppress::~ZxSuppress()
{
    deleteSets(_projectSuppressions);
    deleteSets(_namedSuppressions);
}

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

ZxSuprRec* ZxSuppress::findFileSet(const char* path)
{
    if (!path || !*path || !_self)
        return nullptr;
    for (const List<ZxSuprRec*>* sets : {_globalSuppressions, &_self->_projectSuppressions, &_self->_namedSuppressions})
        for (ListIterator<ZxSuprRec*> i(sets); i.valid(); i.next())
            if (i.current()->_file && i.current()->_file->isFile(path))
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
    // The working directory's file is no global one: it is the collector's
    // own directory, not a client's. The reader reads a file once even when
    // the installation is the home directory, as the home file.
    _currentClient = nullptr;
    _currentRecord = nullptr;
    tvopt::_Torvane_read_standard_options(tvopt::SRC_HOME, processOption);
    _currentRecord = nullptr;
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
    if (!option) {
        // The start of a file: it is a set of its own.
        _currentRecord = nullptr;
        if (source == tvopt::SRC_CWD || !path || (source > tvopt::SRC_CWD && !_currentClient))
            return;
        // Global files are named by absolute paths, whatever $QUENTAR says.
        char* absolute = source < tvopt::SRC_CWD ? tvopt::abs_path(path) : nullptr;
        SuprFile* file = new SuprFile(absolute ? absolute : path);
        free(absolute);
        ZxSuprRec* set = new ZxSuprRec(file);
        if (source < tvopt::SRC_CWD) {
            file->tool("zentrix");
            _globalSuppressions->append(set);
        } else {
            _namedSuppressions.append(set);
            _currentClient->cmdlineSuppression(set, false);
        }
        _currentRecord = set;
        return;
    }
    if (!*option || !value || !*value)
        return;
    if (!path) {
        // A -Zoi line: lines that follow one another share a set in memory,
        // which the client owns.
        if (!_currentClient)
            return;
        if (!_currentRecord || _currentRecord->_file->optionfile()) {
            _currentRecord = new ZxSuprRec(new SuprFile(nullptr, "Command line"));
            _currentClient->cmdlineSuppression(_currentRecord, true);
        }
    }
    if (_currentRecord)
        _currentRecord->_file->addSuppression(option, value);
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
            // A file that is already a set (global, a project's, another
            // client's -Zop) is that set, now also in this role: it is not
            // read again, which would double its entries.
            if (ZxSuprRec* known = findFileSet(path.c_str())) {
                client.cmdlineSuppression(known, false);
                _currentRecord = known;
            } else {
                tvopt::_Torvane_read_option_file(path.c_str(), processOption);
            }
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
    // The project file may be the home file (a program run in HOME) or a
    // file another client named: then it is that set.
    ZxSuprRec* set = findFileSet(path.c_str());
    if (!set) {
        SuprFile* file = new SuprFile(path.c_str());
        file->loadSuppressions();
        set = new ZxSuprRec(file);
        _projectSuppressions.append(set);
    }
    client.projectSuppression(set);
}
