// lumox-rpt list of a report of 1,000,000 messages in one session, against
// cp of the same file in the same run: its time and its peak memory, which
// stays that of one message however large the file is.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/LmxClient.h"
#include "tests/support/TestSupport.h"

namespace {

const int messages = 1000000;

// Writes the report once: one session of `messages` messages, each with a
// body of three lines and a stack of three frames.
bool writeReport(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && st.st_size > 0)
        return true;
    ConxnMsg* signOn = new ConxnMsg(1);
    char header[] = "<Runtime><4711><./server --port 8080><1000><buildhost><2026-12-06 10:00:00>";
    signOn->extract(header);
    LmxClient client(signOn);
    for (int i = 0; i < messages; ++i) {
        ErrorMsg* m = new ErrorMsg(1);
        std::string h = "<AddressSanitizer><buildhost><2026-12-06><10:" + std::to_string(10 + i % 50) + ":00><4711><T" +
                        std::to_string(i % 8) + "><heap-buffer-overflow></src/server/buffer" +
                        std::to_string(i % 97) + ".c><" + std::to_string(1 + i % 900) + ">";
        m->extract(&h[0]);
        std::string body = "WRITE of size 4 at 0x602000000020 thread T0\n<BEGINSTACKTRACE>\n"
                           "</src/server/buffer.c:42>    #0 fill\n</src/server/main.c:17>    #1 main\n"
                           "    #2 _start  (/usr/bin/server)\n<ENDSTACKTRACE>";
        m->body(body.c_str(), static_cast<int>(body.size() + 1));
        client.append(m);
    }
    client.disconnect();
    LmxRptFile f;
    if (f.open(path.c_str(), qipVLRecFile::CreateNew) != 0)
        return false;
    int r = f.save(&client);
    return f.close() == 0 && r == 0;
}

struct Run {
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

// Runs argv with its output to /dev/null: wall time and peak resident memory.
Run run(const std::vector<std::string>& args)
{
    fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout))
            _exit(126);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Run r;
    struct rusage use;
    wait4(pid, &r.status, 0, &use);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakKiB = use.ru_maxrss;
    return r;
}

}  // namespace

int main()
{
    std::string dir = lumox_test::scratchDir("report-bench");
    std::string path = dir + "/million.rpt";
    // Written by a child of its own: the messages it holds while writing
    // would otherwise count in the peak memory of the programs forked later.
    fflush(nullptr);
    pid_t writer = fork();
    if (writer == 0)
        _exit(writeReport(path) ? 0 : 1);
    int written = -1;
    waitpid(writer, &written, 0);
    if (written != 0) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    struct stat st;
    stat(path.c_str(), &st);
    std::string rpt = lumox_test::buildPath("bin/lumox-rpt");
    Run cp, list;
    std::vector<double> cps, lists;
    for (int i = 0; i < 3; ++i) {
        cp = run({"/bin/cp", path, dir + "/copy.rpt"});
        list = run({rpt, "list", path});
        cps.push_back(cp.seconds);
        lists.push_back(list.seconds);
    }
    unlink((dir + "/copy.rpt").c_str());
    auto best = [](std::vector<double> v) {
        double m = v[0];
        for (double x : v)
            m = x < m ? x : m;
        return m;
    };
    printf("lumox-rpt list of a report of %d messages in one session (%.0f MB), best of 3:\n", messages,
           st.st_size / 1e6);
    printf("  cp %.2f s, lumox-rpt list %.2f s (%.1f x cp); peak memory of lumox-rpt %.1f MB%s\n", best(cps),
           best(lists), best(lists) / best(cps), list.peakKiB / 1024.0,
           list.status == 0 ? "" : "  (lumox-rpt FAILED)");
    return list.status == 0 ? 0 : 1;
}
