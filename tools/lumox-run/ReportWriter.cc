#include "tools/lumox-run/ReportWriter.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/report/LmxRptFile.h"

namespace {
// The message classes parse a header in place.
std::vector<char> writable(const std::string& text) { return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1); }
}  // namespace

ReportWriter::ReportWriter() : _file(nullptr), _written(0), _failed(false) {}

ReportWriter::~ReportWriter()
{
    close();
}

int ReportWriter::open(const std::string& path, std::string& error)
{
    _file = new LmxRptFile;
    errno = 0;
    int r = _file->open(path.c_str(), qipVLRecFile::CreateNew);
    if (r != 0) {
        error = path + ": cannot write (" + std::string(qipVLRecFile::error(r))
                + (errno ? std::string(": ") + strerror(errno) : std::string()) + ")";
        delete _file;
        _file = nullptr;
        return -1;
    }
    _path = path;
    return 0;
}

void ReportWriter::begin(long pid, const std::string& signOnHeader)
{
    if (!_file || _open.count(pid))
        return;
    ConxnMsg* signOn = new ConxnMsg(pid);
    std::vector<char> h = writable(signOnHeader);
    signOn->extract(h.data());
    LmxClient* c = new LmxClient(signOn);
    _open[pid] = c;
}

void ReportWriter::add(long pid, const std::string& header, const std::string& body)
{
    auto i = _open.find(pid);
    if (i == _open.end())
        return;
    ErrorMsg* m = new ErrorMsg(pid);
    std::vector<char> h = writable(header);
    m->extract(h.data());
    m->body(body.c_str(), static_cast<int>(body.size() + 1));
    if (i->second->append(m) < 0)
        delete m;
}

int ReportWriter::end(long pid)
{
    auto i = _open.find(pid);
    if (i == _open.end())
        return 0;
    LmxClient* c = i->second;
    _open.erase(i);
    c->disconnect();
    int r = _file ? _file->save(c) : -1;
    delete c;
    if (r != 0) {
        _failed = true;
        return -1;
    }
    ++_written;
    return 0;
}

int ReportWriter::close()
{
    while (!_open.empty())
        end(_open.begin()->first);
    if (!_file)
        return _failed ? -1 : 0;
    int r = _file->close();
    delete _file;
    _file = nullptr;
    return r != 0 || _failed ? -1 : 0;
}
