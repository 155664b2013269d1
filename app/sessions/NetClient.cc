#include "app/sessions/NetClient.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/SessionWriter.h"

NetClient::NetClient(long id)
    : _id(id), _header(nullptr), _status(Disconnected), _nSuppressed(0), _criterion(sortByTime), _signature(nullptr),
      _origin(FromThisHost), _peerSocket(0)
{
    makeHeader();
}

NetClient::NetClient(ConxnMsg* signOn)
    : _id(0), _header(nullptr), _status(Disconnected), _nSuppressed(0), _criterion(sortByTime), _signature(signOn),
      _origin(FromThisHost), _peerSocket(0)
{
    if (signOn) {
        _id = signOn->_token;
        _status = Connected;
        makeHeader();
    }
}

NetClient::~NetClient()
{
    free(_header);
    delete _signature;
    for (ListIterator<ErrorMsg*> i(_messages); i.valid(); i.next())
        delete i.current();
    _messages.clear();
}

void NetClient::makeHeader()
{
    const char* word = _id ? "Client" : "Trashcan";
    char line[64];
    snprintf(line, sizeof line, "  (%ld) %s", _id, word);
    free(_header);
    _header = strdup(line);
}

int NetClient::sort(SortBy by)
{
    _criterion = by;
    int n = _messages.length();
    ErrorMsg** array = new (std::nothrow) ErrorMsg*[n > 0 ? n : 1];
    if (!array)
        return -1;
    int k = 0;
    for (ListIterator<ErrorMsg*> i(_messages); i.valid(); i.next())
        array[k++] = i.current();
    // A stable sort: messages with equal keys keep their present order.
    if (by == sortByErrorCategory)
        std::stable_sort(array, array + n, [](const ErrorMsg* a, const ErrorMsg* b) {
            return strcmp(a->_errorCategory.text(), b->_errorCategory.text()) < 0;
        });
    else
        std::stable_sort(array, array + n, [](const ErrorMsg* a, const ErrorMsg* b) {
            return strcmp(a->_time.text(), b->_time.text()) < 0;
        });
    // Rebuilding the list from the array keeps the whole sort O(N log N).
    _messages.clear();
    for (k = 0; k < n; ++k)
        _messages.append(array[k]);
    delete[] array;
    return 0;
}

int NetClient::insert(ErrorMsg* m)
{
    if (!m)
        return -1;
    if (_criterion == sortByTime) {
        _messages.append(m);
        return _messages.length();
    }
    if (_criterion != sortByErrorCategory)
        return -1;
    // Before the first message of a greater category: equal categories keep
    // their arrival order. O(N) per message.
    const char* category = m->_errorCategory.text();
    for (List<ErrorMsg*>::Link* l = _messages.head(); l; l = _messages.after(l)) {
        if (strcmp(l->_datum->_errorCategory.text(), category) > 0) {
            _messages.join(m, _messages.before(l));
            return _messages.length();
        }
    }
    _messages.append(m);
    return _messages.length();
}

int NetClient::append(ErrorMsg* m) { return insert(m); }

int NetClient::rebuildState() { return _status != Disconnected ? 0 : -1; }

// Whether process `pid` is this user's and holds the socket `inode`, or
// descends from a process of this user that does (lumox-run holds the
// socket of the program it checks).
static bool holdsOrDescends(long pid, unsigned long inode)
{
    std::string target = "socket:[" + std::to_string(inode) + "]";
    for (int depth = 0; pid > 1 && depth < 64; ++depth) {
        std::string dir = "/proc/" + std::to_string(pid);
        long uid = -1, ppid = 0;
        if (FILE* f = fopen((dir + "/status").c_str(), "r")) {
            char line[256];
            while (fgets(line, sizeof line, f)) {
                if (strncmp(line, "Uid:", 4) == 0)
                    uid = atol(line + 4);
                else if (strncmp(line, "PPid:", 5) == 0)
                    ppid = atol(line + 5);
            }
            fclose(f);
        }
        if (uid != static_cast<long>(getuid()))
            return false;
        if (DIR* fds = opendir((dir + "/fd").c_str())) {
            bool found = false;
            while (dirent* e = readdir(fds)) {
                char link[64];
                ssize_t n = readlink((dir + "/fd/" + e->d_name).c_str(), link, sizeof link - 1);
                if (n > 0 && target.compare(0, std::string::npos, link, static_cast<size_t>(n)) == 0)
                    found = true;
            }
            closedir(fds);
            if (found)
                return true;
        }
        pid = ppid;
    }
    return false;
}

int NetClient::kill()
{
    // A session loaded from a file or sent from another host names a pid
    // nobody checked; a finished one's pid may belong to another process by now.
    if (!_signature || _origin != FromThisHost || _status != Connected || !_peerSocket)
        return -1;
    long pid = atol(_signature->_pid.text());
    // A missing or garbled pid must never signal this process's own group.
    if (pid <= 0 || pid == static_cast<long>(getpid()))
        return -1;
    if (!holdsOrDescends(pid, _peerSocket)) {
        fprintf(stderr, " *** NetClient::kill: pid %ld is not the process of session %ld; not interrupted\n", pid, _id);
        return -1;
    }
    return ::kill(static_cast<pid_t>(pid), SIGINT) == 0 ? 0 : -1;
}

void NetClient::rebuild()
{
    if (_status == Connected)
        kill();
}

int NetClient::saveTo(SessionWriter& writer) { return writer.save(this); }

void NetClient::disconnect()
{
    _status = Disconnected;
    if (_signature)
        _signature->status(0);
}
