// What lumox-run costs a checked program, end to end: the example program
// without findings run bare and under lumox-run; a program with 300
// undefined-behaviour reports run bare and under lumox-run into the real
// lumox on its own Xvfb; and the time from a fault to the arrival of its
// report on the collector's socket. Each figure is printed beside its
// baseline from the same run, and each goal with its value.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestSupport.h"

using namespace lumox_test;

namespace {

double seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

long long monotonicNs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// One timed run: wall seconds, and the CPU seconds of the process and its
// descendants.
struct Timing {
    double wall = 0, cpu = 0;
};

// Runs argv in `dir` with extra environment entries, output to /dev/null.
Timing timeRun(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& dir)
{
    fflush(nullptr);
    double start = seconds();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(126);
        for (const std::string& e : env)
            putenv(strdup(e.c_str()));
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage use;
    wait4(pid, &status, 0, &use);
    Timing t;
    t.wall = seconds() - start;
    t.cpu = use.ru_utime.tv_sec + use.ru_stime.tv_sec + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
    return t;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A C program with `sites` distinct signed overflows (the runtime reports
// each place once), each preceded by its monotonic time on standard output
// and followed by a pause of `pauseUs`.
std::string faultProgram(const std::string& dir, const std::string& name, int sites, int pauseUs, const char* flags)
{
    std::string src = dir + "/" + name + ".c";
    std::ofstream out(src);
    out << "#include <limits.h>\n#include <stdio.h>\n#include <time.h>\n#include <unistd.h>\n"
           "static long long now(void) { struct timespec t; clock_gettime(CLOCK_MONOTONIC, &t);"
           " return t.tv_sec * 1000000000LL + t.tv_nsec; }\n"
           "static volatile int sink;\n";
    for (int i = 0; i < sites; ++i)
        out << "static void site" << i << "(int x) { sink = x + " << (i + 1) << "; }\n";
    out << "int main(void) {\n  int big = INT_MAX;\n";
    for (int i = 0; i < sites; ++i) {
        out << "  printf(\"%lld\\n\", now()); fflush(stdout); site" << i << "(big);\n";
        if (pauseUs)
            out << "  usleep(" << pauseUs << ");\n";
    }
    out << "  return 0;\n}\n";
    out.close();
    std::string bin = dir + "/" + name;
    std::string cmd = std::string("gcc -g ") + flags + " " + src + " -o " + bin;
    return system(cmd.c_str()) == 0 ? bin : std::string();
}

// A collector that only takes reports: it answers the handshake and notes
// when each report's frame is in whole.
class StampingCollector {
public:
    StampingCollector() : _fd(socket(AF_INET, SOCK_STREAM, 0)), _port(0)
    {
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (bind(_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(_fd, 16) == 0
            && getsockname(_fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            _port = ntohs(a.sin_port);
    }
    ~StampingCollector() { close(_fd); }
    int port() const { return _port; }

    // Serves one connection until it ends; the arrival time of each report.
    std::vector<long long> serveOne()
    {
        std::vector<long long> stamps;
        int c = accept(_fd, nullptr, nullptr);
        if (c < 0)
            return stamps;
        char hello[2048];
        if (recv(c, hello, sizeof hello, 0) <= 0) {
            close(c);
            return stamps;
        }
        int32_t token = 65536;
        send(c, &token, sizeof token, 0);
        bool signOn = true;
        for (;;) {
            int32_t length = 0;
            if (!readAll(c, &length, sizeof length) || length <= 0)
                break;
            std::vector<char> frame(length);
            if (!readAll(c, frame.data(), length))
                break;
            if (!signOn)
                stamps.push_back(monotonicNs());
            signOn = false;
        }
        close(c);
        return stamps;
    }

private:
    static bool readAll(int fd, void* p, size_t n)
    {
        char* c = static_cast<char*>(p);
        while (n) {
            ssize_t r = recv(fd, c, n, 0);
            if (r <= 0)
                return false;
            c += r;
            n -= static_cast<size_t>(r);
        }
        return true;
    }
    int _fd;
    int _port;
};

// Runs `program` under lumox-run into the stamping collector; the
// latencies in milliseconds from each fault's stamp to its report's arrival.
std::vector<double> latencies(const std::string& runner, const std::string& program, const std::string& dir)
{
    StampingCollector collector;
    std::vector<long long> arrived;
    std::thread serve([&] { arrived = collector.serveOne(); });
    std::string outFile = dir + "/stamps.txt";
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        freopen(outFile.c_str(), "w", stdout);
        freopen("/dev/null", "w", stderr);
        std::string port = std::to_string(collector.port());
        execl(runner.c_str(), runner.c_str(), "--port", port.c_str(), program.c_str(), (char*)nullptr);
        _exit(127);
    }
    waitpid(pid, nullptr, 0);
    serve.join();
    std::vector<long long> faults;
    std::ifstream in(outFile);
    for (long long t; in >> t;)
        faults.push_back(t);
    std::vector<double> ms;
    for (size_t i = 0; i < faults.size() && i < arrived.size(); ++i)
        ms.push_back((arrived[i] - faults[i]) / 1e6);
    return ms;
}

}  // namespace

int main()
{
    std::string bin = buildPath("bin");
    std::string examples = buildPath("examples");
    std::string runner = bin + "/lumox-run";
    std::string dir = scratchDir("checkers-bench");
    const int rounds = 5;

    // 1. An error-free run: the runtimes write nothing, lumox-run only
    // waits. Bare and wrapped runs alternate, so that a busy moment of the
    // machine falls on both alike.
    std::vector<double> bare, wrapped, bareCpu, wrappedCpu;
    for (int i = 0; i < 2 * rounds + 1; ++i) {
        Timing b = timeRun({"./clean-gcc", "20"}, {}, examples);
        Timing w = timeRun({runner, "./clean-gcc", "20"}, {}, examples);
        bare.push_back(b.wall);
        wrapped.push_back(w.wall);
        bareCpu.push_back(b.cpu);
        wrappedCpu.push_back(w.cpu);
    }
    double overhead = (median(wrapped) / median(bare) - 1) * 100;
    printf("error-free run (clean-gcc, address+undefined runtimes), median of %d:\n", 2 * rounds + 1);
    printf("  bare %.3f s, under lumox-run %.3f s: overhead %+.1f%% (goal: within 5%%) %s\n", median(bare),
           median(wrapped), overhead, overhead <= 5 ? "met" : "MISSED");
    printf("  CPU: bare %.3f s, under lumox-run %.3f s (lumox-run's own share %.3f s)\n", median(bareCpu),
           median(wrappedCpu), median(wrappedCpu) - median(bareCpu));

    // 2. 300 reports into the real lumox on its own display.
    std::string many = faultProgram(dir, "ubsan300", 300, 0, "-fsanitize=undefined");
    fflush(nullptr);
    XvfbServer xvfb;
    Child lumox;
    int port = findFreePorts(10);
    if (!many.empty() && xvfb.ok()
        && lumox.start({bin + "/lumox"}, {"DISPLAY=" + xvfb.display(), "LUMOX_PORT=" + std::to_string(port)})) {
        sleepMs(1500);
        std::vector<double> b, w;
        std::string env = "UBSAN_OPTIONS=print_stacktrace=1:print_summary=1:report_error_type=1";
        for (int i = 0; i < rounds; ++i) {
            b.push_back(timeRun({many}, {env}, dir).wall);
            w.push_back(timeRun({runner, "--port", std::to_string(port), many}, {}, dir).wall);
        }
        printf("300 undefined-behaviour reports, median of %d:\n", rounds);
        printf("  bare (reports to /dev/null) %.3f s, under lumox-run into lumox %.3f s: %.2f ms a report more\n",
               median(b), median(w), (median(w) - median(b)) / 300 * 1000);
        lumox.kill();
        lumox.wait();
    } else {
        printf("300 undefined-behaviour reports: skipped (no Xvfb, lumox or gcc)\n");
    }

    // 3. From the fault to its report on the collector's socket.
    std::string paced = faultProgram(dir, "ubsan20", 20, 50000, "-fsanitize=undefined");
    std::vector<double> ub = paced.empty() ? std::vector<double>() : latencies(runner, paced, dir);
    std::vector<double> asan;
    {
        std::string src = dir + "/asan1.c";
        std::ofstream out(src);
        out << "#include <stdio.h>\n#include <stdlib.h>\n#include <time.h>\n"
               "int main(void) { struct timespec t; char* p = malloc(8);\n"
               "  clock_gettime(CLOCK_MONOTONIC, &t); printf(\"%lld\\n\", t.tv_sec * 1000000000LL + t.tv_nsec);\n"
               "  fflush(stdout); p[8] = 1; return 0; }\n";
        out.close();
        if (system(("gcc -g -fsanitize=address " + src + " -o " + dir + "/asan1").c_str()) == 0)
            for (int i = 0; i < rounds; ++i)
                for (double ms : latencies(runner, dir + "/asan1", dir))
                    asan.push_back(ms);
    }
    if (!ub.empty())
        printf("latency from fault to arrival: undefined behaviour median %.2f ms, max %.2f ms (%zu reports)\n",
               median(ub), *std::max_element(ub.begin(), ub.end()), ub.size());
    if (!asan.empty())
        printf("latency from fault to arrival: address error median %.0f ms, max %.0f ms (%zu reports; the "
               "runtime symbolizes first)\n",
               median(asan), *std::max_element(asan.begin(), asan.end()), asan.size());
    return 0;
}
