#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "qip/Monitors/qipFdActivity_X.h"
#include "qip/Monitors/qipSafeAIFS.h"
#include "qip/Monitors/tests/LoopContext.h"
#include "tests/support/TestSupport.h"

namespace {
// A framed stream over one end of a socket pair that records what it sees.
class RecordingStream : public qipSafeAIFS {
public:
    RecordingStream() : _errors(0), _engineX(this) { engine(&_engineX); }
    void triggered() override
    {
        _frames.push_back(std::string(_buffer->data(), static_cast<size_t>(_buffer->eob())));
    }
    void error() override { ++_errors; }

    std::vector<std::string> _frames;
    int _errors;
    qipFdActivity_X _engineX;
};

struct SocketPair {
    // The reading end does not block, as a connection's does not.
    SocketPair()
    {
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fd), 0);
        fcntl(fd[0], F_SETFL, O_NONBLOCK);
    }
    ~SocketPair()
    {
        close(fd[0]);
        if (fd[1] >= 0)
            close(fd[1]);
    }
    void send(const std::string& bytes) { ASSERT_EQ(write(fd[1], bytes.data(), bytes.size()), (ssize_t)bytes.size()); }
    void closeWriter()
    {
        close(fd[1]);
        fd[1] = -1;
    }
    int fd[2];
};

std::string lengthWord(int32_t n) { return std::string(reinterpret_cast<const char*>(&n), sizeof n); }
std::string frame(const std::string& payload) { return lengthWord((int32_t)payload.size()) + payload; }
}  // namespace

TEST(RecordBuffer, typedReadsAndShortfalls)
{
    char data[] = {'A', 1, 0, 7, 0, 0, 0, 'h', 'i', 0, 'x', 'y'};
    qipRBuffer b(data, sizeof data);
    b.filled(sizeof data);
    char c;
    short s;
    int i;
    EXPECT_EQ(b.get(c), 1);
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(b.get(s), 2);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(b.get(i), 4);
    EXPECT_EQ(i, 7);
    char small[2];
    EXPECT_EQ(b.getText(small, sizeof small), 3);
    EXPECT_STREQ(small, "h");
    // "xy" has no NUL: nothing is copied and the cursor stays.
    char text[8] = "keep";
    EXPECT_EQ(b.get(text), -1);
    EXPECT_STREQ(text, "keep");
    int big = 99;
    EXPECT_EQ(b.get(big), 2 - 4);
    EXPECT_EQ(big, 99);
    EXPECT_EQ(b.remaining(), 2);
    long l = 5;
    EXPECT_LT(b.get(l), 0);
    EXPECT_EQ(l, 5);
    b.filled(1000);
    EXPECT_EQ(b.eob(), (int)sizeof data);
}

TEST(FramedStream, aFrameCutAnywhereWaitsForItsRestWithoutBlockingAndFramesReadTogetherAllCome)
{
    SocketPair p;
    RecordingStream in;
    in.watch(p.fd[0]);
    std::string f = frame("first record");
    // Inside the length word, then inside the text: nothing is whole yet,
    // and the stream neither waits nor fails.
    p.send(f.substr(0, 2));
    in.eventDetected();
    p.send(f.substr(2, 6));
    in.eventDetected();
    EXPECT_TRUE(in._frames.empty());
    EXPECT_EQ(in.held(), 8u);
    p.send(f.substr(8) + frame("second") + frame("third"));
    in.eventDetected();
    EXPECT_EQ(in._frames, (std::vector<std::string>{"first record", "second", "third"}));
    EXPECT_EQ(in._errors, 0);
    EXPECT_EQ(in.held(), 0u);
}

TEST(FramedStream, eventLoopDeliversEachFrameThenTheEnd)
{
    XtAppContext context = loopContext();
    SocketPair p;
    RecordingStream in;
    in.watch(p.fd[0]);
    ASSERT_EQ(in.activate(), 0);
    p.send(frame("one") + frame("two"));
    EXPECT_TRUE(lumox_test::runLoopUntil(context, [&] { return in._frames.size() == 2; }));
    p.closeWriter();
    EXPECT_TRUE(lumox_test::runLoopUntil(context, [&] { return in._errors == 1; }));
    // The watch is off: no further error events.
    lumox_test::runLoopFor(context, 50);
    EXPECT_EQ(in._errors, 1);
    EXPECT_EQ(in._engineX.inputId(), 0u);
}

TEST(FramedStream, theArrayGrowsForALargeFrameAndShrinksOnceItHasGone)
{
    SocketPair p;
    RecordingStream in;
    in.watch(p.fd[0]);
    std::string big(300000, 'b');
    std::thread writer([&] { p.send(frame(big)); });
    while (in._frames.empty() && in._errors == 0)
        in.eventDetected();
    writer.join();
    EXPECT_EQ(in._frames.back(), big);
    EXPECT_GE(in.bufferSize(), 300004);
    p.send(frame("small"));
    in.eventDetected();
    EXPECT_EQ(in._frames.back(), "small");
    EXPECT_EQ(in.bufferSize(), (int)qipSafeAIFS::RestSize);
}

// Reads until the stream says more than "not whole yet".
int settle(RecordingStream& in)
{
    int r;
    while ((r = in.read()) == qipSafeAIFS::More)
        ;
    return r;
}

TEST(FramedStream, badLengthsEndTheStream)
{
    struct {
        std::string bytes;
        bool closeAfter;
        int result;
    } cases[] = {
        {lengthWord(0) + "ignored", false, 0},
        {lengthWord(-5) + "ignored", false, 0},
        {lengthWord(qipSafeAIFS::MaxFrame + 1), false, -1},
        {std::string("\x05\x00", 2), true, -1},
        {lengthWord(10) + "short", true, -1},
        {"", true, 0},
    };
    for (auto& c : cases) {
        SocketPair p;
        RecordingStream in;
        in.watch(p.fd[0]);
        p.send(c.bytes);
        if (c.closeAfter)
            p.closeWriter();
        EXPECT_EQ(settle(in), c.result) << c.bytes.size() << " bytes";
    }
    // Through eventDetected the stream reports an error and no frame.
    SocketPair p;
    RecordingStream in;
    in.watch(p.fd[0]);
    p.send(lengthWord(-1));
    in.eventDetected();
    EXPECT_EQ(in._errors, 1);
    EXPECT_TRUE(in._frames.empty());
}
