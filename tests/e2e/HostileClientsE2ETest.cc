// Clients that lie, stall or pile up, against the real lumox: only this
// user's own processes get in, and none of them can hold up the others or
// the window.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/LumoxHarness.h"
#include "tests/support/XTestInput.h"

using namespace lumox_test;

namespace {

using Lines = std::vector<std::string>;

std::string word(int32_t n) { return std::string(reinterpret_cast<const char*>(&n), sizeof n); }

// A tagged handshake claiming `uid`; the collector's four-byte answer, or -1.
int32_t handshake(int fd, long uid)
{
    std::string hello = "<Runtime> " + std::to_string(uid);
    if (write(fd, hello.data(), hello.size()) != (ssize_t)hello.size())
        return -1;
    int32_t answer = -1;
    return read(fd, &answer, sizeof answer) == (ssize_t)sizeof answer ? answer : -1;
}

// A whole sign-on frame for program `name`.
std::string signOn(const std::string& name)
{
    std::string header = "<Runtime><" + std::to_string(getpid()) + "><" + name + "><0><h><t>";
    std::string record = word((int32_t)header.size() + 1) + header + std::string(1, '\0');
    return word((int32_t)record.size()) + record;
}

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The index of the selected line of a pane's lines, or -1.
int selected(const Lines& l)
{
    for (size_t i = 0; i < l.size(); ++i)
        if (!l[i].empty() && l[i][0] == '>')
            return static_cast<int>(i);
    return -1;
}

// The CPU seconds process `pid` has used.
double cpuSeconds(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    size_t close = all.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::vector<std::string> fields;
    std::string rest = all.substr(close + 2), field;
    for (char c : rest) {
        if (c == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    // utime and stime are the 14th and 15th fields, the 12th and 13th after the name.
    return fields.size() > 12 ? (atof(fields[11].c_str()) + atof(fields[12].c_str())) / sysconf(_SC_CLK_TCK) : -1;
}

// The local addresses of the sockets listening on `port`, from the kernel's tables.
std::vector<std::string> listening(int port)
{
    std::vector<std::string> out;
    char portHex[8];
    snprintf(portHex, sizeof portHex, "%04X", port);
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream f(table);
        std::string line;
        std::getline(f, line);
        while (std::getline(f, line)) {
            char local[64], state[8];
            if (sscanf(line.c_str(), " %*s %63s %*s %7s", local, state) != 2 || std::string(state) != "0A")
                continue;
            std::string l = local;
            if (l.substr(l.size() - 4) == portHex)
                out.push_back(l.substr(0, l.size() - 5));
        }
    }
    return out;
}

}  // namespace

TEST(HostileClients, onlyLoopbackListensAndAnotherUsersProcessIsRefusedWhateverItClaims)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    for (const std::string& a : listening(lumox.port()))
        EXPECT_TRUE(a == "0100007F" || a == "00000000000000000000000001000000") << "listens on " << a;
    EXPECT_FALSE(listening(lumox.port()).empty());

    if (getuid() != 0)
        GTEST_SKIP() << "only root can run a process as another user";
    // A process of user nobody that claims to be Lumox's user.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        int fd = connectTo(lumox.port());
        int32_t answer = fd >= 0 ? handshake(fd, 0) : -1;
        ssize_t w = write(pipeFds[1], &answer, sizeof answer);
        _exit(w == sizeof answer ? 0 : 3);
    }
    int status = -1;
    waitpid(child, &status, 0);
    int32_t answer = -1;
    ASSERT_EQ(read(pipeFds[0], &answer, sizeof answer), (ssize_t)sizeof answer);
    close(pipeFds[0]);
    close(pipeFds[1]);
    EXPECT_EQ(answer, 0) << "refused";
    EXPECT_TRUE(lumox.waitForConnections(0));
    EXPECT_TRUE(lumox.process().waitForErr("refused a client of user 65534", 3000)) << lumox.process().err();
}

TEST(HostileClients, clientsThatStallAnywhereHoldUpNeitherOtherClientsNorTheWindow)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    // One connects and says nothing, one stops inside its sign-on's length,
    // one signs on and stops inside a message's frame.
    int silent = connectTo(lumox.port());
    int halfWord = connectTo(lumox.port());
    int halfFrame = connectTo(lumox.port());
    ASSERT_TRUE(silent >= 0 && halfWord >= 0 && halfFrame >= 0);
    ASSERT_GT(handshake(halfWord, getuid()), 0);
    ASSERT_EQ(write(halfWord, "\x20\x00", 2), 2);
    ASSERT_GT(handshake(halfFrame, getuid()), 0);
    std::string frames = signOn("stalled") + word(100) + "only part of it";
    ASSERT_EQ(write(halfFrame, frames.data(), frames.size()), (ssize_t)frames.size());
    ASSERT_TRUE(lumox.waitForConnections(1));

    Child other;
    ASSERT_TRUE(lumox.sender(other, {"-c", "FIRST", "-n", "3"}));
    EXPECT_TRUE(lumox.waitForMessages(3, 1000)) << "the other client's messages wait for no one";
    EXPECT_EQ(other.wait(), 0);
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "FIRST") == 3; }));
    ASSERT_TRUE(lumox.selectLine("FIRST"));
    int at = selected(lumox.content(headerList));
    pressKey(lumox.display(), "j");
    EXPECT_TRUE(lumox.waitForContent(headerList, [&](const Lines& l) { return selected(l) == at + 1; }, 1000))
        << "the window answers a key at once";

    // Ten seconds on, the two that never signed on are gone without a
    // session; the one that signed on is still a session.
    char c;
    sleepMs(10000 + 1500);
    EXPECT_EQ(read(silent, &c, 1), 0);
    EXPECT_EQ(read(halfWord, &c, 1), 0);
    EXPECT_EQ(lumox.label("conLbl").find("None"), std::string::npos) << lumox.label("conLbl");
    EXPECT_EQ(countLines(lumox.content(headerList), "Unknown client"), 0);
    close(silent);
    close(halfWord);
    close(halfFrame);
    EXPECT_TRUE(lumox.waitForConnections(0));
}

TEST(HostileClients, withoutDescriptorsLeftTheSurplusWaitsWithoutSpinningAndIsServedLater)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    Child limit;
    ASSERT_TRUE(limit.start({"/usr/bin/prlimit", "--pid", std::to_string(lumox.process().pid()), "--nofile=48:48"}));
    ASSERT_EQ(limit.wait(), 0) << limit.err();
    const int clients = 50;
    std::vector<std::unique_ptr<Child>> senders;
    for (int k = 0; k < clients; ++k) {
        senders.emplace_back(new Child);
        ASSERT_TRUE(lumox.sender(*senders.back(), {"-w", "-p", "c" + std::to_string(k), "-c", "HELD"}));
    }
    ASSERT_TRUE(lumox.process().waitForErr("no descriptors left", 10000)) << lumox.process().err();
    double before = cpuSeconds(lumox.process().pid());
    sleepMs(2000);
    double used = cpuSeconds(lumox.process().pid()) - before;
    EXPECT_LT(used, 0.5) << "accepting waits instead of spinning";
    EXPECT_EQ(count(lumox.process().err(), "no descriptors left"), 1u) << lumox.process().err();
    // The clients that got in (they say so) leave; the others are served then.
    int left = 0;
    for (auto& s : senders)
        if (s->out().find("as client") != std::string::npos) {
            s->kill(SIGINT);
            ++left;
        }
    EXPECT_LT(left, clients) << "some had to wait";
    EXPECT_TRUE(lumox.waitForMessages(clients, 15000)) << lumox.label("msgLbl");
    for (auto& s : senders)
        s->kill(SIGINT);
    EXPECT_TRUE(lumox.waitForConnections(0, 15000));
}

TEST(HostileClients, anOptionFileThatNeverEndsLeavesTheProgramResponsive)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    std::string dir = scratchDir("hostile-zop");
    writeFile(dir + "/shapes.cc", readFile(std::string(LUMOX_SOURCE_DIR) + "/examples/effc++/shapes.cc"));
    // The analysed command names /dev/zero as its option file: the session
    // reads its suppressions from it when its violations arrive.
    Child zx;
    ASSERT_TRUE(zx.start({buildPath("bin/lumox-zx"), "-Zop", "/dev/zero", "g++", "-c", "shapes.cc"},
                         {"LUMOX_PORT=" + std::to_string(lumox.port()), "HOME=" + dir}, dir));
    EXPECT_EQ(zx.wait(60000), 0) << zx.err();
    ASSERT_TRUE(lumox.waitForContent(headerList, [](const Lines& l) { return countLines(l, "Zentrix: Analyzing") == 1; }));
    EXPECT_TRUE(lumox.process().waitForErr("/dev/zero is not read: it is not a regular file", 3000));
    std::string before = lumox.label("msgLbl");
    Child after;
    ASSERT_TRUE(lumox.sender(after, {"-c", "AFTER"}));
    EXPECT_EQ(after.wait(), 0);
    EXPECT_TRUE(pollUntil([&] { return lumox.label("msgLbl") != before; }, 1000)) << before;
}

TEST(HostileClients, framesBegunButNotFinishedMayHoldAQuarterGigabyteInAll)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    // Five clients each send most of a 60 MiB frame and stop: past 256 MiB
    // held in all, the one holding the most is closed.
    const int32_t frameSize = 60 * 1024 * 1024;
    std::string part(55 * 1024 * 1024, 'x');
    std::vector<int> fds;
    for (int k = 0; k < 5; ++k) {
        int fd = connectTo(lumox.port());
        ASSERT_GT(handshake(fd, getuid()), 0);
        std::string head = signOn("big" + std::to_string(k)) + word(frameSize);
        ASSERT_EQ(write(fd, head.data(), head.size()), (ssize_t)head.size());
        // The first client sends a little more, so that it holds the most.
        size_t n = part.size() + (k == 0 ? 4096 : 0);
        std::string extra = k == 0 ? part + std::string(4096, 'y') : part;
        for (size_t done = 0; done < n;) {
            ssize_t w = write(fd, extra.data() + done, n - done);
            if (w <= 0)
                break;
            done += static_cast<size_t>(w);
        }
        fds.push_back(fd);
    }
    EXPECT_TRUE(lumox.process().waitForErr("held for frames in all", 10000)) << lumox.process().err();
    char c;
    EXPECT_TRUE(pollUntil([&] { return recv(fds[0], &c, 1, MSG_DONTWAIT) == 0; }, 5000)) << "the largest is closed";
    EXPECT_TRUE(lumox.waitForConnections(4));
    for (int fd : fds)
        close(fd);
    EXPECT_TRUE(lumox.waitForConnections(0));
}

TEST(HostileClients, sessionsFromAnotherAddressSayTheyAreRemote)
{
    // An address of this host off the loopback stands in for another host.
    std::string address;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) == 0) {
        for (ifaddrs* i = all; i && address.empty(); i = i->ifa_next)
            if (i->ifa_addr && i->ifa_addr->sa_family == AF_INET) {
                char text[INET_ADDRSTRLEN];
                inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, text, sizeof text);
                if (strncmp(text, "127.", 4) != 0)
                    address = text;
            }
        freeifaddrs(all);
    }
    if (address.empty())
        GTEST_SKIP() << "this host has no address off the loopback";
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start({"LUMOX_LISTEN=" + address}));
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<unsigned short>(lumox.port()));
    inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    ASSERT_GT(handshake(fd, getuid()), 0);
    std::string s = signOn("faraway");
    ASSERT_EQ(write(fd, s.data(), s.size()), (ssize_t)s.size());
    EXPECT_TRUE(lumox.waitForContent(headerList, [&](const Lines& l) {
        return countLines(l, "\"faraway\"") == 1 && countLines(l, "(remote: " + address + ")") == 1;
    }));
    // Nothing listens on the loopback now.
    EXPECT_LT(connectTo(lumox.port(), 500), 0);
    close(fd);
}
