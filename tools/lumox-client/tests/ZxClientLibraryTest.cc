#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "app/ConnectionFactory.h"
#include "app/MsgArea.h"
#include "app/NetManager.h"
#include "app/ZxClient.h"
#include "app/ZxErrMsg.h"
#include "app/tests/AppTestEnv.h"
#include "app/tests/ZxTestEnv.h"
#include "qip/Monitors/qipFdActivity_X.h"
#include "tests/support/TestSupport.h"
#include "tools/lumox-client/lumox_client.h"

// A static analyser on the client library, against a collector inside the
// test process: its context arrives in the ZxClient, its violations as
// ZxErrMsgs with every field.
TEST(ZxClientLibrary, contextAndViolationsReachAStaticAnalysisClient)
{
    ASSERT_NE(appTestApp(), nullptr);
    ZxScratch scratch("library");
    NetManager manager;
    qipFdActivity_X* engine = new qipFdActivity_X(&manager);
    manager.engine(engine);
    int port = lumox_test::findFreePorts(1);
    ASSERT_EQ(manager.monitor(port), 0);
    ASSERT_EQ(manager.activate(), 0);

    long token = ConnectionFactory::_token + 1;
    std::atomic<bool> done(false);
    int results[4] = {1, 1, 1, 1};
    std::thread analyser([&] {
        lumox_signon s;
        memset(&s, 0, sizeof s);
        s.type = s.signature = "Zentrix";
        s.program = "shapes.cc";
        s.port = port;
        lumox_client* c = nullptr;
        results[0] = lumox_connect(&c, &s);
        const char* argv[] = {"lumox-zx", "-Zoi", "suppress item 6", "g++", "-c", "shapes.cc"};
        const char* envp[] = {"PATH=/usr/bin", nullptr};
        results[1] = lumox_send_zx_context(c, 6, argv, envp, scratch.project.c_str());
        lumox_violation v;
        memset(&v, 0, sizeof v);
        v.item = 11;
        v.severity = 4;
        v.class_name = "Label";
        v.file = "/p/shapes.cc";
        v.line = 9;
        v.item_text = "Declare a copy constructor";
        v.body = "shapes.cc:9:7: warning: 'class Label' has pointer data members\n";
        results[2] = lumox_send_violation(c, &v);
        v.item = 6;
        v.severity = 1;
        v.rule_set = "More Effective C++";
        results[3] = lumox_send_violation(c, &v);
        v.severity = 9;
        EXPECT_EQ(lumox_send_violation(c, &v), LUMOX_EINVAL);
        lumox_close(c);
        done = true;
    });
    auto client = [&]() -> ZxClient* {
        for (ListIterator<NetClient*> i(theMessageContainer->clients()); i.valid(); i.next())
            if (i.current()->_id == token)
                return dynamic_cast<ZxClient*>(i.current());
        return nullptr;
    };
    bool arrived = lumox_test::runLoopUntil(appTestContext(), [&] {
        return done && client() && client()->nMessages() == 2 && client()->_status == 0;
    }, 20000);
    analyser.join();
    ASSERT_TRUE(arrived);
    for (int r : results)
        EXPECT_EQ(r, LUMOX_OK) << lumox_strerror(r);

    ZxClient* c = client();
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

    theMessageContainer->removeClient(c);
    theMessageContainer->countRemoved(c->nShown());
    delete c;
    manager.deactivate();
    manager.engine(nullptr);
    delete engine;
}
