#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/LumoxHarness.h"

using namespace lumox_test;

namespace {

// Waits until the child's standard output holds `text`.
bool waitForOut(Child& child, const std::string& text)
{
    return pollUntil([&] { return child.out().find(text) != std::string::npos; }, 10000, 20);
}

}  // namespace

TEST(NetworkE2E, clientsAreNumberedCountedAndSignedOff)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());

    Child first;
    ASSERT_TRUE(lumox.sender(first, {"-p", "first", "-c", "ABW", "-f", "src/a.c:3", "-n", "3"}));
    EXPECT_EQ(first.wait(), 0) << first.err();
    EXPECT_NE(first.out().find("connected to port " + std::to_string(lumox.port()) + " as client 65536"),
              std::string::npos)
        << first.out();
    EXPECT_NE(first.out().find("3 messages sent"), std::string::npos);
    EXPECT_TRUE(lumox.waitForMessages(3));
    EXPECT_TRUE(lumox.waitForConnections(0));

    Child staying;
    ASSERT_TRUE(lumox.sender(staying, {"-p", "second", "--wait", "/dev/null"}));
    EXPECT_TRUE(waitForOut(staying, "as client 65537")) << staying.out() << staying.err();
    EXPECT_TRUE(lumox.waitForConnections(1));
    EXPECT_TRUE(lumox.waitForLabel(statusText, "New connection"));

    // A binary handshake is numbered by the client's pid and takes no number.
    Child binary;
    ASSERT_TRUE(lumox.sender(binary, {"--binary", "-w", "-c", "FMR"}));
    EXPECT_TRUE(waitForOut(binary, "as client " + std::to_string(binary.pid()) + "\n")) << binary.out();
    EXPECT_TRUE(lumox.waitForConnections(2));
    EXPECT_TRUE(lumox.waitForMessages(4));

    staying.kill(SIGINT);
    EXPECT_EQ(staying.wait(), 0);
    EXPECT_TRUE(lumox.waitForConnections(1));
    EXPECT_TRUE(lumox.waitForLabel(statusText, "Connection closed"));
    binary.kill(SIGTERM);
    EXPECT_EQ(binary.wait(), 0);
    EXPECT_TRUE(lumox.waitForConnections(0));

    Child third;
    ASSERT_TRUE(lumox.sender(third, {"-T", "Do_mpf", "-c", "MLK"}));
    EXPECT_EQ(third.wait(), 0);
    EXPECT_NE(third.out().find("as client 65538"), std::string::npos) << third.out();
    EXPECT_TRUE(lumox.waitForMessages(5));
    EXPECT_TRUE(lumox.process().running());
}

TEST(NetworkE2E, strangersAreRefusedAndLeaveNoTrace)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    // A handshake of `uid`; the collector's four-byte answer.
    auto handshake = [&](int fd, uid_t uid) {
        std::string hello = "<Runtime> " + std::to_string(uid);
        EXPECT_EQ(write(fd, hello.data(), hello.size()), (ssize_t)hello.size());
        int32_t answer = -1;
        EXPECT_EQ(read(fd, &answer, sizeof answer), (ssize_t)sizeof answer);
        return answer;
    };
    char c;
    int fd = connectTo(lumox.port());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(handshake(fd, getuid() + 12345), 0);
    EXPECT_EQ(read(fd, &c, 1), 0);
    close(fd);

    // Garbage after a good handshake ends only that connection.
    fd = connectTo(lumox.port());
    EXPECT_EQ(handshake(fd, getuid()), 65536);
    int32_t huge = 0x7fffffff;
    ASSERT_EQ(write(fd, &huge, sizeof huge), (ssize_t)sizeof huge);
    EXPECT_EQ(read(fd, &c, 1), 0);
    close(fd);
    EXPECT_TRUE(lumox.waitForConnections(0));

    Child after;
    ASSERT_TRUE(lumox.sender(after, {"-c", "ABW"}));
    EXPECT_EQ(after.wait(), 0) << after.err();
    EXPECT_NE(after.out().find("as client 65537"), std::string::npos) << after.out();
    EXPECT_TRUE(lumox.waitForMessages(1));
}

TEST(NetworkE2E, fiftyConcurrentSendersLoseNothingWhileAnotherClientStallsInsideAFrame)
{
    LumoxHarness lumox;
    ASSERT_TRUE(lumox.start());
    // Signed on, then half a frame and silence for the whole run.
    int staller = connectTo(lumox.port());
    ASSERT_GE(staller, 0);
    std::string hello = "<Runtime> " + std::to_string(getuid());
    ASSERT_EQ(write(staller, hello.data(), hello.size()), (ssize_t)hello.size());
    int32_t answer = 0;
    ASSERT_EQ(read(staller, &answer, sizeof answer), (ssize_t)sizeof answer);
    std::string header = "<Runtime><1><staller><0><h><t>";
    int32_t hlen = (int32_t)header.size() + 1, flen = hlen + 4, half = 500;
    std::string bytes = std::string((char*)&flen, 4) + std::string((char*)&hlen, 4) + header + std::string(1, '\0') +
                        std::string((char*)&half, 4) + "a part";
    ASSERT_EQ(write(staller, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    const int senders = 50, each = 1000;
    std::vector<std::unique_ptr<Child>> children;
    for (int k = 0; k < senders; ++k) {
        children.emplace_back(new Child);
        ASSERT_TRUE(lumox.sender(*children.back(), {"-q", "-p", "sender" + std::to_string(k), "-c", "STRESS", "-f",
                                                    "stress.c:1", "-b", "one of many", "-n", std::to_string(each)}));
    }
    for (auto& child : children)
        EXPECT_EQ(child->wait(120000), 0) << child->err();
    EXPECT_TRUE(lumox.waitForMessages(senders * each, 120000)) << lumox.label("msgLbl");
    EXPECT_TRUE(lumox.waitForConnections(1, 30000));
    close(staller);
    EXPECT_TRUE(lumox.waitForConnections(0, 30000));
    EXPECT_TRUE(lumox.process().running());
}
