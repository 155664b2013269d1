#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "app/network/ConnectionFactory.h"
#include "app/messages/MsgArea.h"
#include "app/sessions/NetClient.h"
#include "app/network/NetConnection.h"
#include "app/network/NetManager.h"
#include "app/testsupport/AppTestEnv.h"
#include "app/testsupport/InProcessCollector.h"
#include "qip/Monitors/qipFdActivity_X.h"
#include "tests/support/TestSupport.h"

namespace {
std::string word(int32_t n) { return std::string(reinterpret_cast<const char*>(&n), sizeof n); }
std::string text(const std::string& s) { return s + std::string(1, '\0'); }
std::string frame(const std::string& record) { return word((int32_t)record.size()) + record; }

std::string signOnFrame(const std::string& pid)
{
    std::string header = "<Runtime><" + pid + "><prog><0><box><12:00:00>";
    return frame(word(header.size() + 1) + text(header));
}

void sendAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        done += (size_t)n;
    }
}

// Reads the four-byte answer; INT32_MIN when the collector closed instead.
int32_t answer(int fd)
{
    int32_t v = 0;
    size_t got = 0;
    while (got < sizeof v) {
        ssize_t n = recv(fd, reinterpret_cast<char*>(&v) + got, sizeof v - got, 0);
        if (n <= 0)
            return INT32_MIN;
        got += (size_t)n;
    }
    return v;
}

bool closedByPeer(int fd)
{
    char c;
    return recv(fd, &c, 1, 0) == 0;
}

// Connects to `port` and sends `hello`; the collector's answer goes to `reply`.
int handshake(int port, const std::string& hello, int32_t& reply)
{
    int fd = lumox_test::connectTo(port);
    sendAll(fd, hello);
    reply = answer(fd);
    return fd;
}

std::string tagged(const std::string& signature, uid_t uid) { return "<" + signature + "> " + std::to_string(uid); }

// A listening NetManager on a free loopback port, watched by the test
// application's event loop.
class NetworkIntake : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(appTestApp(), nullptr);
        _port = lumox_test::findFreePorts(1);
        ASSERT_TRUE(_collector.listen(_port));
    }

    bool serve(const std::function<void()>& client, const std::function<bool()>& until = [] { return true; })
    {
        return _collector.serve(client, until, 10000);
    }
    NetClient* clientWithId(long id) { return InProcessCollector::clientWithId(id); }

    InProcessCollector _collector;
    NetManager& _manager = _collector.manager();
    int _port;
};
}  // namespace

TEST_F(NetworkIntake, wrongUserIsAnsweredZeroAndClosed)
{
    long base = ConnectionFactory::_token;
    int32_t replies[3] = {-1, -1, -1};
    bool closed[3] = {false, false, false};
    serve([&] {
        // The only '>' of the last lies in its first four bytes: a binary handshake.
        std::string hellos[] = {tagged("Runtime", getuid() + 12345), word((int32_t)getuid() + 7), "<a>b"};
        for (int k = 0; k < 3; ++k) {
            int fd = handshake(_port, hellos[k], replies[k]);
            closed[k] = closedByPeer(fd);
            close(fd);
        }
    });
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(replies[k], 0) << k;
        EXPECT_TRUE(closed[k]) << k;
    }
    EXPECT_EQ(ConnectionFactory::_token, base);
    EXPECT_EQ(_manager.nConnections(), 0);
}

TEST_F(NetworkIntake, brokenClientsEndCleanly)
{
    int connections = _manager.nConnections();
    testing::internal::CaptureStderr();
    serve([&] {
        // Connects and leaves without a handshake.
        close(lumox_test::connectTo(_port));
    });
    lumox_test::runLoopFor(appTestContext(), 100);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(" *** ConnectionFactory::makeNetConnection: bad connection. Aborting\n"), std::string::npos);

    std::string endings[] = {
        "",                                      // closes right after the handshake
        signOnFrame("1") + word(0),              // zero length
        signOnFrame("1") + word(-3),             // negative length
        signOnFrame("1") + word(0x7fffffff),     // far too long
        signOnFrame("1") + std::string("\x09", 1),  // a length cut short
        signOnFrame("1") + frame("garbage without any structure"),
    };
    for (const std::string& ending : endings) {
        int32_t token = 0;
        serve([&] {
            int fd = handshake(_port, tagged("Runtime", getuid()), token);
            sendAll(fd, ending);
            if (ending.find("garbage") == std::string::npos)
                shutdown(fd, SHUT_WR);
            close(fd);
        }, [&] {
            NetClient* c = clientWithId(token);
            return c && c->_status == 0;
        });
        EXPECT_EQ(_manager.nConnections(), connections) << ending.size();
    }

    // A broken first frame from a client that stays: the collector hangs up.
    bool hungUp = false;
    serve([&] {
        int32_t token;
        int fd = handshake(_port, tagged("Runtime", getuid()), token);
        sendAll(fd, word(0x7fffffff));
        hungUp = closedByPeer(fd);
        close(fd);
    }, [&] { return _manager.nConnections() == connections; });
    EXPECT_TRUE(hungUp);
    EXPECT_EQ(_manager.nConnections(), connections);
}

TEST_F(NetworkIntake, aConnectionThatEndsInItsOwnEventIsDestroyedOnTheNextTurn)
{
    int connections = _manager.nConnections();
    int32_t token = 0;
    bool hungUp = false;
    serve([&] {
        int fd = handshake(_port, tagged("Runtime", getuid()), token);
        sendAll(fd, signOnFrame("1"));
        shutdown(fd, SHUT_WR);
        hungUp = closedByPeer(fd);
        close(fd);
    }, [&] { return _manager.nConnections() == connections; });
    EXPECT_TRUE(hungUp);
    NetClient* c = clientWithId(token);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->_status, 0);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return _manager.nClosing() == 0; }));
    EXPECT_EQ(_manager.nConnections(), connections);
}

TEST(NetworkIntakeLifetime, aManagerDestroyedBeforeTheNextTurnFreesItsClosedConnections)
{
    ASSERT_NE(appTestApp(), nullptr);
    std::unique_ptr<InProcessCollector> collector(new InProcessCollector);
    int port = lumox_test::findFreePorts(1);
    ASSERT_TRUE(collector->listen(port));
    NetManager& manager = collector->manager();
    std::thread client([&] {
        int32_t token;
        int fd = handshake(port, tagged("Runtime", getuid()), token);
        sendAll(fd, signOnFrame("1"));
        close(fd);
    });
    // The loop stops right after the event in which the connection ended,
    // before the turn that would destroy it.
    bool closing = lumox_test::runLoopUntil(appTestContext(), [&] { return manager.nClosing() == 1; }, 10000);
    client.join();
    EXPECT_TRUE(closing);
    EXPECT_EQ(manager.nConnections(), 0);
    collector.reset();
    // The destruction the manager had planned must not come any more.
    lumox_test::runLoopFor(appTestContext(), 50);
    EXPECT_EQ(NetManager::liveConnections(), 0);
}
