#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>

#include "app/ConnectionFactory.h"
#include "app/ConxnMsg.h"
#include "app/LmxStsBar.h"
#include "app/MsgArea.h"
#include "app/NetClient.h"
#include "app/NetConnection.h"
#include "app/NetManager.h"
#include "app/tests/AppTestEnv.h"
#include "qip/Monitors/qipFdActivity_X.h"
#include "tests/support/TestSupport.h"

namespace {
std::string word(int32_t n) { return std::string(reinterpret_cast<const char*>(&n), sizeof n); }
std::string text(const std::string& s) { return s + std::string(1, '\0'); }
std::string frame(const std::string& record) { return word((int32_t)record.size()) + record; }

std::string signOnFrame(const std::string& pid, const std::string& program = "prog")
{
    std::string header = "<Runtime><" + pid + "><" + program + "><0><box><12:00:00>";
    return frame(word(header.size() + 1) + text(header));
}

std::string errorFrame(const std::string& category)
{
    std::string header = "<Runtime><box><d><t><1><0><" + category + "><src/f.c><3>";
    return frame(word(header.size() + 1) + text(header) + word(5) + text("body"));
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

// A listening NetManager on a free loopback port, watched by the test
// application's event loop.
class NetworkIntake : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(appTestApp(), nullptr);
        _engine = new qipFdActivity_X(&_manager);
        _manager.engine(_engine);
        _port = lumox_test::findFreePorts(1);
        ASSERT_EQ(_manager.monitor(_port), 0);
        ASSERT_EQ(_manager.activate(), 0);
    }
    void TearDown() override
    {
        _manager.deactivate();
        _manager.engine(nullptr);
        delete _engine;
    }

    // Runs the loop while `client` runs in its own thread, until it is done
    // and `until` holds.
    bool serve(const std::function<void()>& client, const std::function<bool()>& until = [] { return true; })
    {
        std::atomic<bool> done(false);
        std::thread t([&] {
            client();
            done = true;
        });
        bool ok = lumox_test::runLoopUntil(appTestContext(), [&] { return done && until(); }, 10000);
        if (!done)
            lumox_test::runLoopUntil(appTestContext(), [&] { return done.load(); }, 10000);
        t.join();
        return ok;
    }

    NetClient* clientWithId(long id)
    {
        NetClient* found = nullptr;
        for (ListIterator<NetClient*> i(theMessageContainer->clients()); i.valid(); i.next())
            if (i.current()->_id == id)
                found = i.current();
        return found;
    }

    NetManager _manager;
    qipFdActivity_X* _engine;
    int _port;
};
}  // namespace

TEST_F(NetworkIntake, taggedClientsNumberedInOrderBinaryClientsByPid)
{
    long base = ConnectionFactory::_token;
    int fds[3];
    int32_t replies[3];
    std::string uid = std::to_string(getuid());
    serve([&] {
        fds[0] = lumox_test::connectTo(_port);
        sendAll(fds[0], "<Runtime> " + uid);
        replies[0] = answer(fds[0]);
        sendAll(fds[0], signOnFrame("1111"));

        fds[1] = lumox_test::connectTo(_port);
        sendAll(fds[1], word((int32_t)getuid()));
        replies[1] = answer(fds[1]);
        sendAll(fds[1], signOnFrame("424242"));

        fds[2] = lumox_test::connectTo(_port);
        sendAll(fds[2], "<AnyOther> " + uid);
        replies[2] = answer(fds[2]);
        sendAll(fds[2], signOnFrame("2222"));
    }, [&] { return _manager.nConnections() == 3; });
    EXPECT_EQ(replies[0], base + 1);
    EXPECT_EQ(replies[1], (int32_t)getuid());
    EXPECT_EQ(replies[2], base + 2);
    EXPECT_EQ(ConnectionFactory::_token, base + 2);
    EXPECT_EQ(theStatusBar->connections(), 3);
    EXPECT_STREQ(theStatusBar->shownText(), "New connection");

    NetClient* binary = clientWithId(424242);
    ASSERT_NE(binary, nullptr);
    EXPECT_EQ(binary->_status, 1);
    ASSERT_NE(clientWithId(base + 2), nullptr);
    EXPECT_STREQ(clientWithId(base + 1)->_signature->_pid, "1111");

    // Closing one connection leaves the others listed.
    close(fds[1]);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return _manager.nConnections() == 2; }));
    EXPECT_EQ(binary->_status, 0);
    EXPECT_EQ(theStatusBar->connections(), 2);
    EXPECT_STREQ(theStatusBar->shownText(), "Connection closed");
    close(fds[0]);
    close(fds[2]);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return _manager.nConnections() == 0; }));
}

TEST_F(NetworkIntake, wrongUserIsAnsweredZeroAndClosed)
{
    long base = ConnectionFactory::_token;
    int32_t tagged = -1, binary = -1, early = -1;
    bool taggedClosed = false, binaryClosed = false;
    serve([&] {
        int a = lumox_test::connectTo(_port);
        sendAll(a, "<Runtime> " + std::to_string(getuid() + 12345));
        tagged = answer(a);
        taggedClosed = closedByPeer(a);
        close(a);
        int b = lumox_test::connectTo(_port);
        sendAll(b, word((int32_t)getuid() + 7));
        binary = answer(b);
        binaryClosed = closedByPeer(b);
        close(b);
        // The only '>' lies in the first four bytes: a binary handshake.
        int c = lumox_test::connectTo(_port);
        sendAll(c, "<a>b");
        early = answer(c);
        close(c);
    });
    EXPECT_EQ(tagged, 0);
    EXPECT_TRUE(taggedClosed);
    EXPECT_EQ(binary, 0);
    EXPECT_TRUE(binaryClosed);
    EXPECT_EQ(early, 0);
    EXPECT_EQ(ConnectionFactory::_token, base);
    EXPECT_EQ(_manager.nConnections(), 0);
}

TEST_F(NetworkIntake, messagesAreCountedAndTheEndSignsOff)
{
    int before = theMessageContainer->nMessages();
    long token = 0;
    int fd = -1;
    serve([&] {
        fd = lumox_test::connectTo(_port);
        sendAll(fd, "<Runtime> " + std::to_string(getuid()));
        token = answer(fd);
        // The sign-on and three records in one write: one record per event.
        sendAll(fd, signOnFrame("77", "counted") + errorFrame("ABW") + errorFrame("FMR") + errorFrame("ABW"));
    }, [&] { return theMessageContainer->nMessages() == before + 3; });
    EXPECT_EQ(theMessageContainer->nMessages(), before + 3);
    EXPECT_EQ(theStatusBar->messages(), before + 3);
    NetClient* c = clientWithId(token);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->nMessages(), 3);
    EXPECT_STREQ(c->_signature->_filename, "counted");
    close(fd);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return c->_status == 0; }));
    EXPECT_EQ(_manager.nConnections(), 0);
    EXPECT_EQ(c->nMessages(), 3);
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

    std::string uid = std::to_string(getuid());
    std::string endings[] = {
        "",                                      // closes right after the handshake
        signOnFrame("1") + word(0),              // zero length
        signOnFrame("1") + word(-3),             // negative length
        signOnFrame("1") + word(0x7fffffff),     // far too long
        signOnFrame("1") + std::string("\x09", 1),  // a length cut short
        signOnFrame("1") + frame("garbage without any structure"),
    };
    for (const std::string& ending : endings) {
        long token = 0;
        serve([&] {
            int fd = lumox_test::connectTo(_port);
            sendAll(fd, "<Runtime> " + uid);
            token = answer(fd);
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
        int fd = lumox_test::connectTo(_port);
        sendAll(fd, "<Runtime> " + uid);
        answer(fd);
        sendAll(fd, word(0x7fffffff));
        hungUp = closedByPeer(fd);
        close(fd);
    }, [&] { return _manager.nConnections() == connections; });
    EXPECT_TRUE(hungUp);
    EXPECT_EQ(_manager.nConnections(), connections);
}
