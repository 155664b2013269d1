#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestSupport.h"

// The program itself, run on small sources with the real compilers.
namespace {

const std::string dataDir = std::string(LUMOX_SOURCE_DIR) + "/tools/lumox-zx/tests/data";
const std::string flags[] = {"-Weffc++", "-Wno-error=effc++", "-Wno-error=non-virtual-dtor", "-fsyntax-only",
                             "-fdiagnostics-color=never"};

// What the compiler itself prints for `args` with the options lumox-zx adds.
std::string compilerOutput(std::vector<std::string> args)
{
    args.insert(args.end(), std::begin(flags), std::end(flags));
    lumox_test::Child cc;
    if (!cc.start(args, {"LC_ALL=C"}, dataDir))
        return "";
    cc.wait(60000);
    return cc.err();
}

bool haveCompiler(const char* name)
{
    lumox_test::Child cc;
    return cc.start({name, "--version"}) && cc.wait(30000) == 0;
}

struct ZxRun {
    int status;
    std::string err;
};

ZxRun lumoxZx(const std::vector<std::string>& compile, int port)
{
    std::vector<std::string> args = {lumox_test::buildPath("bin/lumox-zx")};
    args.insert(args.end(), compile.begin(), compile.end());
    lumox_test::Child zx;
    if (!zx.start(args, {"LUMOX_PORT=" + std::to_string(port)}, dataDir))
        return {-1, ""};
    int status = zx.wait(60000);
    return {status, zx.err()};
}

// A stand-in for the collector: it takes one client, answers its handshake
// with client number 1 and keeps the headers of the records it sends.
class RecordingCollector {
public:
    RecordingCollector() : _port(lumox_test::findFreePorts(1)), _listener(lumox_test::listenOn(_port))
    {
        _thread = std::thread([this] { serve(); });
    }
    ~RecordingCollector()
    {
        if (_thread.joinable())
            _thread.join();
        if (_listener >= 0)
            close(_listener);
    }
    int port() const { return _port; }

    // The violation records' headers, once the client has closed.
    std::vector<std::string> violations()
    {
        if (_thread.joinable())
            _thread.join();
        std::vector<std::string> headers;
        size_t at = 0;
        bool signOn = true;
        while (at + 8 <= _bytes.size()) {
            int32_t frame = 0, length = 0;
            memcpy(&frame, &_bytes[at], 4);
            memcpy(&length, &_bytes[at + 4], 4);
            if (frame <= 4 || length <= 0 || at + 4 + static_cast<size_t>(frame) > _bytes.size())
                break;
            std::string header(&_bytes[at + 8], static_cast<size_t>(length) - 1);
            bool context = header.rfind("<command line>", 0) == 0 || header.rfind("<environment>", 0) == 0 ||
                           header.rfind("<cwd>", 0) == 0;
            if (!signOn && !context)
                headers.push_back(header);
            signOn = false;
            at += 4 + static_cast<size_t>(frame);
        }
        return headers;
    }

private:
    void serve()
    {
        struct pollfd p = {_listener, POLLIN, 0};
        if (_listener < 0 || poll(&p, 1, 60000) != 1)
            return;
        int fd = accept(_listener, nullptr, nullptr);
        if (fd < 0)
            return;
        // The handshake "<Zentrix> uid" arrives before the client waits for the answer.
        char buf[4096];
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        struct pollfd more = {fd, POLLIN, 0};
        while (n > 0 && poll(&more, 1, 50) == 1 && recv(fd, buf, sizeof buf, MSG_DONTWAIT) > 0) {
        }
        int32_t token = 1;
        if (n > 0 && send(fd, &token, sizeof token, MSG_NOSIGNAL) == sizeof token)
            while ((n = recv(fd, buf, sizeof buf, 0)) > 0)
                _bytes.append(buf, static_cast<size_t>(n));
        close(fd);
    }

    int _port;
    int _listener;
    std::string _bytes;
    std::thread _thread;
};

// Bracket `k` (from 0) of a header.
std::string bracket(const std::string& header, int k)
{
    size_t open = 0;
    for (int i = 0; i < k && open != std::string::npos; ++i)
        open = header.find('<', header.find('>', open) + 1);
    if (open == std::string::npos)
        return "";
    size_t close = header.find('>', open);
    return header.substr(open + 1, close - open - 1);
}

std::string decoded(std::string text)
{
    for (size_t at; (at = text.find("%3E")) != std::string::npos;)
        text.replace(at, 3, ">");
    for (size_t at; (at = text.find("%25")) != std::string::npos;)
        text.replace(at, 3, "%");
    return text;
}

}  // namespace

// Without a collector nothing is reported: the compile still succeeds and
// the compiler's output is printed as it printed it.
TEST(LumoxZx, withoutACollectorTheCompilersOutputIsPrintedUnchangedAndItsStatusKept)
{
    int port = lumox_test::findFreePorts(10);
    std::string example = std::string(LUMOX_SOURCE_DIR) + "/examples/effc++/shapes.cc";
    ZxRun shapes = lumoxZx({"-Zoi", "suppress item 12", "g++", "-c", example}, port);
    EXPECT_EQ(shapes.status, 0);
    EXPECT_EQ(shapes.err, "lumox-zx: no Lumox collector is listening; 10 violations not reported, shown in the "
                          "compiler's output below\n" +
                              compilerOutput({"g++", "-c", example}));

    // An error, then a fatal error and g++'s "compilation terminated.".
    ZxRun fatal = lumoxZx({"g++", "-c", "fatal.cc"}, port);
    EXPECT_NE(fatal.status, 0);
    std::string own = compilerOutput({"g++", "-c", "fatal.cc"});
    ASSERT_NE(own.find("compilation terminated."), std::string::npos) << own;
    EXPECT_EQ(fatal.err, "lumox-zx: no Lumox collector is listening\n" + own);
    if (haveCompiler("clang++")) {
        ZxRun clang = lumoxZx({"clang++", "-Wall", "-c", "reorder.cc"}, port);
        EXPECT_EQ(clang.status, 0);
        EXPECT_EQ(clang.err, "lumox-zx: no Lumox collector is listening; 6 violations not reported, shown in the "
                             "compiler's output below\n" +
                                 compilerOutput({"clang++", "-Wall", "-c", "reorder.cc"}));
    }

    lumox_test::Child none;
    ASSERT_TRUE(none.start({lumox_test::buildPath("bin/lumox-zx")}));
    EXPECT_EQ(none.wait(10000), 2);
    EXPECT_NE(none.err().find("usage: lumox-zx"), std::string::npos);
}

// With a collector the violations are sent; the rest is printed in the
// compiler's order, each context line before what it stands over.
TEST(LumoxZx, theViolationsGoToTheCollectorAndTheRestKeepsItsOrder)
{
    RecordingCollector collector;
    ZxRun mixed = lumoxZx({"g++", "-Wall", "-c", "mixed.cc"}, collector.port());
    EXPECT_EQ(mixed.status, 1) << "the compiler's status";
    EXPECT_EQ(mixed.err, "mixed.cc: In function 'int size()':\n"
                         "mixed.cc:10:21: error: 'nothing' was not declared in this scope\n"
                         "   10 | int size() { return nothing; }\n"
                         "      |                     ^~~~~~~\n"
                         "mixed.cc: In function 'int unused()':\n"
                         "mixed.cc:18:9: warning: unused variable 'x' [-Wunused-variable]\n"
                         "   18 |     int x;\n"
                         "      |         ^\n");
    std::vector<std::string> sent = collector.violations();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(bracket(sent[0], 6), "EffC++12");
    EXPECT_EQ(bracket(sent[0], 7), dataDir + "/mixed.cc") << "sent as an absolute path";
    EXPECT_EQ(bracket(sent[0], 9), "Buffer");
    EXPECT_EQ(bracket(sent[1], 6), "EffC++14");
    EXPECT_EQ(bracket(sent[1], 9), "Shape");
}

// The class a user reads is the class that arrives: a template instance
// whole, the class of an operator= that g++ names only as 'operator='.
TEST(LumoxZx, classesArriveAsTheUserReadsThem)
{
    RecordingCollector holder;
    EXPECT_EQ(lumoxZx({"g++", "-c", "holder.cc"}, holder.port()).status, 0);
    std::vector<std::string> sent = holder.violations();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(bracket(sent[0], 9), "store::Holder<int%3E") << "'>' cannot stand inside a bracket";
    EXPECT_EQ(decoded(bracket(sent[0], 9)), "store::Holder<int>");
    EXPECT_EQ(bracket(sent[0], 12), "Effective C++");

    RecordingCollector shapes;
    std::string example = std::string(LUMOX_SOURCE_DIR) + "/examples/effc++/shapes.cc";
    EXPECT_EQ(lumoxZx({"g++", "-c", example}, shapes.port()).status, 0);
    int item15 = 0;
    for (const std::string& h : shapes.violations())
        if (bracket(h, 6) == "EffC++15") {
            ++item15;
            EXPECT_EQ(bracket(h, 8), "48");
            EXPECT_EQ(bracket(h, 9), "Point");
        }
    EXPECT_EQ(item15, 1);
}
