#pragma once

#include <map>
#include <string>

class LmxClient;
class LmxRptFile;

// Writes lumox-run's sessions to a report file (*.rpt) instead of a live
// Lumox: each session is one record, written when its process ends, into a
// new file that takes the place of FILE at close(), which a run stopped by
// a signal reaches too; until then an earlier FILE stays as it was. It owns
// the file and the sessions not yet written.
class ReportWriter {
public:
    ReportWriter();
    ~ReportWriter();

    // Creates the file; 0, or -1 with the reason in `error`.
    int open(const std::string& path, std::string& error);
    // A session of process `pid` begins with this sign-on header text.
    void begin(long pid, const std::string& signOnHeader);
    // One message of its session: header text and body.
    void add(long pid, const std::string& header, const std::string& body);
    // The process ended: its session goes into the file. 0 or -1.
    int end(long pid);
    // Writes what is still open and closes the file. 0 or -1.
    int close();
    int written() const { return _written; }
    const std::string& path() const { return _path; }

private:
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    LmxRptFile* _file;
    std::map<long, LmxClient*> _open;
    std::string _path;
    int _written;
    bool _failed;
};
