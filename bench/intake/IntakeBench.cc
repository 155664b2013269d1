// How fast lumox takes messages from many clients over TCP, end to end: 20
// lumox-send clients send 5,000 messages each into the real lumox on its own
// Xvfb, against the same clients into a collector that only drains the
// bytes, in the same run. Until lumox has shown every message: the moment
// its CPU time stops growing, then its message count is read. Set LUMOX_BIN
// to measure another build of lumox the same way.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestSupport.h"

using namespace lumox_test;

namespace {

const int clients = 20, each = 5000;

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double cpu(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    size_t close = all.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::vector<std::string> fields;
    std::string field;
    for (char c : all.substr(close + 2)) {
        if (c == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    return fields.size() > 12 ? (atof(fields[11].c_str()) + atof(fields[12].c_str())) / sysconf(_SC_CLK_TCK) : 0;
}

// Starts the clients against `port`; true when all finished well.
bool sendAll(int port)
{
    std::vector<std::unique_ptr<Child>> senders;
    for (int k = 0; k < clients; ++k) {
        senders.emplace_back(new Child);
        if (!senders.back()->start({buildPath("bin/lumox-send"), "-q", "-P", std::to_string(port), "-p",
                                    "bench" + std::to_string(k), "-c", "BENCH", "-f", "src/bench.c:12", "-b",
                                    "a message body of a typical length", "-n", std::to_string(each)}))
            return false;
    }
    bool ok = true;
    for (auto& s : senders)
        ok = s->wait(300000) == 0 && ok;
    return ok;
}

// A collector that answers the handshake and drains every byte.
double drainBaseline()
{
    int l = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(l, (sockaddr*)&a, sizeof a) != 0 || listen(l, 64) != 0 || getsockname(l, (sockaddr*)&a, &len) != 0)
        return -1;
    std::atomic<int> done(0);
    std::vector<std::thread> drains;
    std::thread acceptor([&] {
        for (int k = 0; k < clients; ++k) {
            int c = accept(l, nullptr, nullptr);
            drains.emplace_back([c, &done] {
                char buf[65536];
                ssize_t n = read(c, buf, sizeof buf);
                int32_t token = n > 0 ? 65536 : 0;
                ssize_t w = write(c, &token, sizeof token);
                (void)w;
                while (read(c, buf, sizeof buf) > 0)
                    ;
                close(c);
                ++done;
            });
        }
    });
    double start = now();
    sendAll(ntohs(a.sin_port));
    acceptor.join();
    for (auto& t : drains)
        t.join();
    close(l);
    return now() - start;
}

}  // namespace

int main()
{
    double raw = drainBaseline();
    XvfbServer xvfb;
    int port = findFreePorts(10);
    std::string dump = scratchDir("intake-bench") + "/widgets.txt";
    const char* bin = getenv("LUMOX_BIN");
    Child lumox;
    if (!xvfb.ok() || !lumox.start({bin ? bin : buildPath("bin/lumox")}, {"DISPLAY=" + xvfb.display(),
                                                                           "LUMOX_PORT=" + std::to_string(port),
                                                                           "LUMOX_WIDGET_DUMP=" + dump})) {
        fprintf(stderr, "no Xvfb or lumox\n");
        return 1;
    }
    sleepMs(1500);
    double start = now();
    sendAll(port);
    // Done when lumox's CPU time has stopped growing for half a second.
    double last = cpu(lumox.pid()), lastChange = now();
    while (now() - lastChange < 0.5) {
        sleepMs(50);
        double c = cpu(lumox.pid());
        if (c != last) {
            last = c;
            lastChange = now();
        }
    }
    double took = lastChange - start;
    unlink(dump.c_str());
    lumox.kill(SIGUSR1);
    std::string count = "?";
    for (int i = 0; i < 100 && count == "?"; ++i) {
        sleepMs(50);
        std::ifstream f(dump);
        for (std::string line; std::getline(f, line);)
            if (line.find(".msgLbl ") != std::string::npos)
                count = line.substr(line.find("Messages:"));
    }
    int total = clients * each;
    printf("intake of %d messages from %d clients over TCP:\n", total, clients);
    printf("  raw drain %.2f s (%.0f messages/s); lumox %.2f s (%.0f messages/s, %.1f%% of the drain); lumox CPU %.2f s; "
           "status bar %s\n",
           raw, total / raw, took, total / took, 100 * raw / took, last, count.c_str());
    lumox.kill();
    lumox.wait();
    return 0;
}
