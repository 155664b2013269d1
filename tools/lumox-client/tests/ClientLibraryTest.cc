#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "app/network/ConnectionFactory.h"
#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/shell/LmxStsBar.h"
#include "app/messages/MsgArea.h"
#include "app/sessions/NetClient.h"
#include "app/network/NetManager.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrMsg.h"
#include "app/testsupport/AppTestEnv.h"
#include "app/testsupport/InProcessCollector.h"
#include "app/testsupport/ZxTestEnv.h"
#include "qip/Monitors/qipFdActivity_X.h"
#include "tests/support/TestSupport.h"
#include "tools/lumox-client/lumox_client.h"

namespace {
// A collector inside the test process, on the second port of a free range
// whose first port LUMOX_PORT names.
class ClientLibrary : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(appTestApp(), nullptr);
        _base = lumox_test::findFreePorts(3);
        setenv("LUMOX_PORT", std::to_string(_base).c_str(), 1);
        ASSERT_TRUE(_collector.listen(_base + 1));
    }
    void TearDown() override { unsetenv("LUMOX_PORT"); }

    bool serve(const std::function<void()>& client, const std::function<bool()>& until, int timeoutMs = 20000)
    {
        return _collector.serve(client, until, timeoutMs);
    }
    NetClient* clientWithId(long id) { return InProcessCollector::clientWithId(id); }

    int _base;
    InProcessCollector _collector;
    NetManager& _manager = _collector.manager();
};
}  // namespace

TEST_F(ClientLibrary, findsTheCollectorPastASilentPortAndNumbersClientsInOrder)
{
    // Something that accepts but never answers holds the first port.
    int silent = lumox_test::listenOn(_base);
    ASSERT_GE(silent, 0);

    long first = ConnectionFactory::_token;
    lumox_client* c[3] = {nullptr, nullptr, nullptr};
    int results[3] = {1, 1, 1};
    serve([&] {
        lumox_signon s = {};
        s.timeout_ms = 300;
        s.program = "first";
        results[0] = lumox_connect(&c[0], &s);
        s.binary = 1;
        s.pid = 31337;
        results[1] = lumox_connect(&c[1], &s);
        s.binary = 0;
        s.pid = 0;
        s.type = "Do_mpf";
        results[2] = lumox_connect(&c[2], &s);
    }, [&] { return _manager.nConnections() == 3; });
    close(silent);
    for (int r : results)
        EXPECT_EQ(r, LUMOX_OK) << lumox_strerror(r);
    ASSERT_TRUE(c[0] && c[1] && c[2]);
    EXPECT_EQ(lumox_client_port(c[0]), _base + 1);
    EXPECT_EQ(lumox_client_token(c[0]), first + 1);
    EXPECT_EQ(lumox_client_token(c[1]), 31337);
    EXPECT_EQ(lumox_client_token(c[2]), first + 2);
    EXPECT_EQ(theStatusBar->connections(), 3);

    NetClient* signedOn = clientWithId(first + 1);
    ASSERT_NE(signedOn, nullptr);
    EXPECT_EQ(std::string(signedOn->_signature->id()),
              "Runtime: Executing \"first\" on " + std::string(signedOn->_signature->_host.text()) +
                  ", pid=" + std::to_string(getpid()));
    ASSERT_NE(clientWithId(31337), nullptr);
    EXPECT_EQ(std::string(clientWithId(first + 2)->_signature->id()).rfind("Torvane: Instrumenting", 0), 0u);

    for (lumox_client* x : c)
        lumox_close(x);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return _manager.nConnections() == 0; }));
    EXPECT_EQ(clientWithId(31337)->_status, 0);
}

TEST_F(ClientLibrary, refusalsAndMissingCollectorsAreClearResults)
{
    long first = ConnectionFactory::_token;
    int refused = 1;
    lumox_client* c = nullptr;
    serve([&] {
        lumox_signon s = {};
        s.uid = "12345";
        s.port = _base + 1;
        refused = lumox_connect(&c, &s);
    }, [] { return true; });
    EXPECT_EQ(refused, LUMOX_EREFUSED);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(ConnectionFactory::_token, first);

    lumox_signon s = {};
    s.port = _base + 2;
    EXPECT_EQ(lumox_connect(&c, &s), LUMOX_ENOCOLLECTOR);
}

TEST_F(ClientLibrary, errorRecordsArriveWithTheirFields)
{
    lumox_client* c = nullptr;
    int before = theMessageContainer->nMessages();
    serve([&] {
        if (lumox_connect(&c, nullptr) != LUMOX_OK)
            return;
        char* body = strdup("Array bounds write");
        lumox_frame frames[] = {{"src/lib/x.c", 17, "  write_it()"}, {"main.c", 3, "  main()"}};
        lumox_append_trace(&body, frames, 2);
        lumox_error e = {};
        e.category = "ABW";
        e.file = "src/lib/x.c";
        e.line = 17;
        e.tid = "4";
        e.time = "10:00:00";
        e.body = body;
        lumox_send_error(c, &e);
        free(body);
        e = {};
        e.category = "odd>category";
        lumox_send_error(c, &e);
    }, [&] { return theMessageContainer->nMessages() == before + 2; });
    ASSERT_NE(c, nullptr);
    NetClient* client = clientWithId(lumox_client_token(c));
    ASSERT_NE(client, nullptr);
    ASSERT_EQ(client->nMessages(), 2);
    ErrorMsg* m = client->_messages.first();
    EXPECT_STREQ(m->_errorCategory, "ABW");
    EXPECT_STREQ(m->_filepath, "src/lib");
    EXPECT_STREQ(m->_filename, "x.c");
    EXPECT_STREQ(m->_lineno, "17");
    EXPECT_STREQ(m->_tid, "4");
    EXPECT_STREQ(m->_pid, std::to_string(getpid()).c_str());
    EXPECT_STREQ(m->_body, "Array bounds write\n<BEGINSTACKTRACE>\n<src/lib/x.c:17>  write_it()\n"
                           "<main.c:3>  main()\n<ENDSTACKTRACE>");
    EXPECT_NE(std::string(m->id()).find("Thread: 4"), std::string::npos);
    ErrorMsg* odd = client->_messages.last();
    EXPECT_STREQ(odd->_errorCategory, "odd?category");
    EXPECT_STREQ(odd->_filename, "unknown");
    EXPECT_STREQ(odd->_lineno, "unknown");
    lumox_close(c);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return client->_status == 0; }));
}

// A child forked after the connection signs on as a session of its own:
// its records never land in its parent's session.
TEST_F(ClientLibrary, aForkedChildReportsAsASessionOfItsOwn)
{
    lumox_client* c = nullptr;
    pid_t child = -1;
    int before = theMessageContainer->nMessages();
    serve([&] {
        if (lumox_connect(&c, nullptr) != LUMOX_OK)
            return;
        lumox_error e = {};
        e.category = "BEFORE_FORK";
        lumox_send_error(c, &e);
        child = fork();
        if (child == 0) {
            e.category = "IN_CHILD";
            int r = lumox_send_error(c, &e);
            lumox_close(c);
            _exit(r == LUMOX_OK ? 0 : 1);
        }
        e.category = "IN_PARENT";
        lumox_send_error(c, &e);
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_EQ(status, 0);
    }, [&] { return theMessageContainer->nMessages() == before + 3; });
    ASSERT_GT(child, 0);
    NetClient* parent = clientWithId(lumox_client_token(c));
    ASSERT_NE(parent, nullptr);
    ASSERT_EQ(parent->nMessages(), 2);
    EXPECT_STREQ(parent->_messages.last()->_errorCategory, "IN_PARENT");
    NetClient* own = clientWithId(lumox_client_token(c) + 1);
    ASSERT_NE(own, nullptr);
    EXPECT_STREQ(own->_signature->_pid, std::to_string(child).c_str());
    ASSERT_EQ(own->nMessages(), 1);
    EXPECT_STREQ(own->_messages.first()->_errorCategory, "IN_CHILD");
    lumox_close(c);
}

// Build interrupts the process that holds the session's socket (or one it
// started), never a pid a client merely names, nor a loaded session's.
TEST_F(ClientLibrary, onlyTheSessionsOwnProcessCanBeInterrupted)
{
    lumox_test::Child bystander;
    ASSERT_TRUE(bystander.start({"/bin/sleep", "30"}));
    // Two client processes: one names the bystander's pid, one its own.
    auto client = [](long claim) {
        pid_t pid = fork();
        if (pid == 0) {
            lumox_signon s = {};
            s.pid = claim;
            lumox_client* c = nullptr;
            if (lumox_connect(&c, &s) != LUMOX_OK)
                _exit(1);
            lumox_wait(c, 20000);
            _exit(0);
        }
        return pid;
    };
    pid_t liar = -1, honest = -1;
    long first = ConnectionFactory::_token;
    serve([&] {
        liar = client(bystander.pid());
        honest = client(0);
    }, [&] { return _manager.nConnections() == 2; });
    NetClient* claimed = nullptr;
    NetClient* own = nullptr;
    for (long id : {first + 1, first + 2}) {
        NetClient* c = clientWithId(id);
        ASSERT_NE(c, nullptr);
        (std::string(c->_signature->_pid.text()) == std::to_string(bystander.pid()) ? claimed : own) = c;
    }
    ASSERT_TRUE(claimed && own);
    EXPECT_EQ(claimed->kill(), -1);
    EXPECT_TRUE(bystander.running());
    own->_origin = NetClient::FromReport;
    EXPECT_EQ(own->kill(), -1) << "a loaded session's pid is never signalled";
    own->_origin = NetClient::FromThisHost;
    EXPECT_EQ(own->kill(), 0);
    int status = 0;
    EXPECT_EQ(waitpid(honest, &status, 0), honest);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
    kill(liar, SIGKILL);
    waitpid(liar, nullptr, 0);
    bystander.kill();
}

// A static analyser on the library: its context arrives in the ZxClient, its
// violations as ZxErrMsgs with every field.
TEST_F(ClientLibrary, contextAndViolationsReachAStaticAnalysisClient)
{
    ZxScratch scratch("library");
    lumox_client* zx = nullptr;
    int results[4] = {1, 1, 1, 1}, badSeverity = 0;
    serve([&] {
        lumox_signon s = {};
        s.type = s.signature = "Zentrix";
        s.program = "shapes.cc";
        results[0] = lumox_connect(&zx, &s);
        const char* argv[] = {"lumox-zx", "-Zoi", "suppress item 6", "g++", "-c", "shapes.cc"};
        const char* envp[] = {"PATH=/usr/bin", nullptr};
        results[1] = lumox_send_zx_context(zx, 6, argv, envp, scratch.project.c_str());
        lumox_violation v = {};
        v.item = 11;
        v.severity = 4;
        v.class_name = "Label";
        v.file = "/p/shapes.cc";
        v.line = 9;
        v.item_text = "Declare a copy constructor";
        v.body = "shapes.cc:9:7: warning: 'class Label' has pointer data members\n";
        results[2] = lumox_send_violation(zx, &v);
        v.item = 6;
        v.severity = 1;
        v.rule_set = "More Effective C++";
        results[3] = lumox_send_violation(zx, &v);
        v.severity = 9;
        badSeverity = lumox_send_violation(zx, &v);
    }, [&] {  // runs only once the thread is done with zx
        NetClient* c = zx ? clientWithId(lumox_client_token(zx)) : nullptr;
        return c && c->nMessages() == 2;
    });
    for (int r : results)
        EXPECT_EQ(r, LUMOX_OK) << lumox_strerror(r);
    EXPECT_EQ(badSeverity, LUMOX_EINVAL);
    ZxClient* c = zx ? dynamic_cast<ZxClient*>(clientWithId(lumox_client_token(zx))) : nullptr;
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->clientTag(), "Zentrix");
    EXPECT_STREQ(c->cwd(), scratch.project.c_str());
    ASSERT_EQ(c->_executor.argc(), 6);
    EXPECT_STREQ(c->_executor.argv()[2], "suppress item 6");
    ASSERT_EQ(c->_executor.environCount(), 1);
    EXPECT_STREQ(c->_executor.envp()[0], "PATH=/usr/bin");
    EXPECT_EQ(c->nShown(), 1) << "item 6 is suppressed by the command line";

    ZxErrMsg* m = dynamic_cast<ZxErrMsg*>(c->_messages.first());
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->_errorCategory.text(), "EffC++11");
    EXPECT_STREQ(m->_class.text(), "Label");
    EXPECT_STREQ(m->_filepath.text(), "/p");
    EXPECT_STREQ(m->_filename.text(), "shapes.cc");
    EXPECT_STREQ(m->_lineno.text(), "9");
    EXPECT_STREQ(m->_ruleSet.text(), "Effective C++");
    EXPECT_STREQ(m->originalBody(), "shapes.cc:9:7: warning: 'class Label' has pointer data members\n");
    EXPECT_STREQ(dynamic_cast<ZxErrMsg*>(c->_messages.last())->_ruleSet.text(), "More Effective C++");

    lumox_close(zx);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return c->_status == 0; }));
    theMessageContainer->removeClient(c);
    theMessageContainer->countRemoved(c->nShown());
    delete c;
}

// A template instance keeps its '>' on the way: it shows as the user reads
// it and matches a suppress line that names it so.
TEST_F(ClientLibrary, aTemplateClassArrivesWholeAndMatchesTheSuppressLineThatNamesIt)
{
    ZxScratch scratch("template-class");
    lumox_test::writeFile(scratch.project + "/.qnrc", "Zentrix.Suppress item 12 class store::Holder<int>\n");
    lumox_client* zx = nullptr;
    int results[4] = {1, 1, 1, 1};
    serve([&] {
        lumox_signon s = {};
        s.type = s.signature = "Zentrix";
        s.program = "holder.cc";
        results[0] = lumox_connect(&zx, &s);
        const char* argv[] = {"lumox-zx", "g++", "-c", "holder.cc"};
        results[1] = lumox_send_zx_context(zx, 4, argv, nullptr, scratch.project.c_str());
        lumox_violation v = {};
        v.item = 12;
        v.severity = 2;
        v.class_name = "store::Holder<int>";
        v.file = "/p/holder.cc";
        v.line = 6;
        v.item_text = "Prefer p->x = 1 to 100% assignment";
        results[2] = lumox_send_violation(zx, &v);
        v.class_name = "store::Holder<long>";
        results[3] = lumox_send_violation(zx, &v);
    }, [&] {
        NetClient* c = zx ? clientWithId(lumox_client_token(zx)) : nullptr;
        return c && c->nMessages() == 2;
    });
    for (int r : results)
        EXPECT_EQ(r, LUMOX_OK) << lumox_strerror(r);
    ZxClient* c = zx ? dynamic_cast<ZxClient*>(clientWithId(lumox_client_token(zx))) : nullptr;
    ASSERT_NE(c, nullptr);
    ZxErrMsg* m = dynamic_cast<ZxErrMsg*>(c->_messages.first());
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->_class.text(), "store::Holder<int>");
    EXPECT_STREQ(m->_itemText.text(), "Prefer p->x = 1 to 100% assignment");
    EXPECT_NE(std::string(m->id()).find(" store::Holder<int> "), std::string::npos) << m->id();
    EXPECT_NE(std::string(m->_body.text()).find("\nClass: store::Holder<int>\n"), std::string::npos);
    EXPECT_EQ(c->isSuppressed(m), 1) << "the project's line names the class as it is read";
    EXPECT_EQ(c->nShown(), 1) << "Holder<long> stays";

    lumox_close(zx);
    EXPECT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return c->_status == 0; }));
    theMessageContainer->removeClient(c);
    theMessageContainer->countRemoved(c->nShown());
    delete c;
}
