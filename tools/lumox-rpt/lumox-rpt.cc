// lumox-rpt: reads a report file without a display. "dump" shows the file's
// structure (headers and record headers), "list" the saved clients and their
// messages as the main window shows them, "sarif" the same sessions as a SARIF
// log for code-scanning services.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "app/records/ErrorMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/records/ConxnMsg.h"
#include "app/sessions/NetClient.h"
#include "qip/Monitors/qipBigEndian.h"
#include "tools/lumox-rpt/ReportSessions.h"
#include "tools/lumox-rpt/SarifLog.h"

namespace {

const char* program = "lumox-rpt";

enum { ExitOk = 0, ExitBadFile = 1, ExitUsage = 2 };

void usage(std::ostream& os)
{
    os << "usage: " << program << " dump FILE    print the file, report and record headers\n"
       << "       " << program << " list FILE    print each saved client and its messages\n"
       << "       " << program << " sarif FILE   write the saved sessions as SARIF 2.1.0 JSON\n";
}

// A report file whose walk prints each record header instead of rebuilding
// clients.
class RptDumper : public LmxRptFile {
public:
    RptDumper() : _n(0) {}
    int processRecord(unsigned, unsigned, unsigned) override
    {
        std::cout << " record " << ++_n << " at offset " << recordOffset() << ":\n" << recordHeader();
        return 0;
    }

private:
    int _n;
};

// True when the file starts like a record file, or has a report header
// where one belongs (another writer's record file); false for anything
// else, including files too short to tell.
bool looksLikeRecordFile(const char* path)
{
    FILE* fp = fopen(path, "rb");
    if (!fp)
        return false;
    unsigned char b[qipVLHeader::Size + 4];
    size_t n = fread(b, 1, sizeof b, fp);
    bool ok = (n >= 4 && qipGetBE32(b) == qipVLHeader::Magic)
              || (n == sizeof b && qipGetBE32(b + qipVLHeader::Size) == LmxRptHeader::Magic);
    fclose(fp);
    return ok;
}

// Reports a failed open in words a user can act on.
int openFailed(const char* path, int code, int savedErrno)
{
    std::cerr << program << ": " << path << ": ";
    if (code == qipVLRecFile::fopenFailed)
        std::cerr << "cannot open (" << qipVLRecFile::error(code) << ": " << strerror(savedErrno) << ")\n";
    else if (code == qipVLRecFile::badMagicNumber
             || (code == qipVLRecFile::corruptFile && !looksLikeRecordFile(path)))
        std::cerr << "not a report file (" << qipVLRecFile::error(qipVLRecFile::badMagicNumber) << ")\n";
    else if (code == qipVLRecFile::badVersionNumber)
        std::cerr << "unsupported report format (" << qipVLRecFile::error(code) << ")\n";
    else
        std::cerr << qipVLRecFile::error(code) << "\n";
    return ExitBadFile;
}

int loadFailed(const char* path, int code)
{
    std::cout.flush();
    std::cerr << program << ": " << path << ": " << qipVLRecFile::error(code) << "\n";
    return ExitBadFile;
}

int dump(const char* path)
{
    RptDumper f;
    errno = 0;
    int r = f.open(path, qipVLRecFile::ReadOnly);
    int savedErrno = errno;
    // Headers of the wrong kind or version are still worth seeing.
    if (r == 0 || r == qipVLRecFile::badMagicNumber || r == qipVLRecFile::badVersionNumber)
        f.dump(std::cout);
    if (r != 0)
        return openFailed(path, r, savedErrno);
    int n = f.load();
    if (n < 0)
        return loadFailed(path, n);
    std::cout << " " << n << (n == 1 ? " record\n" : " records\n");
    return ExitOk;
}

// Reads the file into `sessions`, as File -> Load would into the main
// window: ExitOk with the load result in `loaded` (negative when the file is
// damaged after the part that was read), or the status of a failed open.
int replay(const char* path, ReportSessions& sessions, int& loaded)
{
    SessionSink::install(&sessions);
    LmxRptFile f;
    errno = 0;
    int r = f.open(path, qipVLRecFile::ReadOnly);
    if (r != 0)
        return openFailed(path, r, errno);
    loaded = f.load();
    return ExitOk;
}

// Each session's sign-on line and its shown messages, printed as they are
// read: the memory of one message, whatever the size of the file.
int list(const char* path)
{
    ReportSessions sessions(false);
    sessions.onSignOn = [](NetClient& c) { std::cout << c._signature->id() << "\n"; };
    sessions.onMessage = [](NetClient&, ErrorMsg& m) {
        if (m._suppressed != Yes)
            std::cout << m.id() << "\n";
    };
    int n = 0;
    if (int r = replay(path, sessions, n))
        return r;
    return n < 0 ? loadFailed(path, n) : ExitOk;
}

// A damaged file still gives a whole log of the sessions before the damage,
// then the error and status 1, as list does.
int sarif(const char* path)
{
    SarifLog log;
    ReportSessions sessions(true);
    sessions.onSignOff = [&log](NetClient& c) { log.add(&c); };
    int n = 0;
    if (int r = replay(path, sessions, n))
        return r;
    std::cout << log.text();
    return n < 0 ? loadFailed(path, n) : ExitOk;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (strcmp(argv[1], "-h") == 0 || strcmp(argv[1], "--help") == 0)) {
        usage(std::cout);
        return ExitOk;
    }
    if (argc != 3) {
        usage(std::cerr);
        return ExitUsage;
    }
    std::string command = argv[1];
    if (command == "dump")
        return dump(argv[2]);
    if (command == "list")
        return list(argv[2]);
    if (command == "sarif")
        return sarif(argv[2]);
    std::cerr << program << ": unknown command \"" << argv[1] << "\"\n";
    usage(std::cerr);
    return ExitUsage;
}
