// The message area's report files with sessions made for real: clients of
// the client library on a collector inside the test program, saved and
// loaded through the file dialog as a user would; and what the status bar
// says when a save or a load fails.

#include <gtest/gtest.h>

#include <Xm/FileSB.h>
#include <Xm/Xm.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/messages/MsgArea.h"
#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/NetClient.h"
#include "app/shell/LmxStsBar.h"
#include "app/testsupport/AppTestEnv.h"
#include "app/testsupport/InProcessCollector.h"
#include "qip/Common/StatusBar.h"
#include "tests/support/TestSupport.h"
#include "tools/lumox-client/lumox_client.h"

namespace {

// Answers the open report-file dialog with `path`, as OK after typing it.
void chooseFile(const std::string& path)
{
    Widget dialog = theMessageContainer->dialog();
    ASSERT_NE(dialog, nullptr);
    XmFileSelectionBoxCallbackStruct cbs = {};
    cbs.reason = XmCR_OK;
    cbs.value = XmStringCreateLocalized(const_cast<char*>(path.c_str()));
    XtCallCallbacks(dialog, XmNokCallback, &cbs);
    XmStringFree(cbs.value);
}

void saveAs(const std::string& path)
{
    ASSERT_EQ(theMessageContainer->saveAs(), 0);
    chooseFile(path);
}

void load(const std::string& path)
{
    ASSERT_EQ(theMessageContainer->load(), 0);
    chooseFile(path);
}

std::string shown() { return theStatusBar->shownText(); }

std::string injected(NetMsg* m)
{
    char* t = m->inject();
    std::string s = t ? t : "";
    free(t);
    return s;
}

// Deletes every session but the trash can, as a user would.
void clearClients()
{
    MsgArea* area = theMessageContainer;
    while (area->clients().length() > 1) {
        NetClient* c = area->clients().last();
        area->clientSignOff(c->_id);
        area->headers().cursor().locate(c->_signature);
        area->del();
    }
}

class MsgAreaReport : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(appTestWindow(), nullptr);
        clearClients();
        _dir = lumox_test::scratchDir("msgarea-report") + "/" + std::to_string(getpid());
        mkdir(_dir.c_str(), 0755);
    }
    void TearDown() override { clearClients(); }
    std::string _dir;
};

}  // namespace

// Each handshake (binary, tagged "Runtime", tagged "Zentrix") with each
// sign-on type ("Runtime", "Zentrix", another): the session the connection
// made, runtime or static analysis, is saved and comes back as that kind
// with its messages, and so do the sessions after it in the file.
TEST_F(MsgAreaReport, everyHandshakeWithEverySignOnTypeLoadsBackWithItsMessages)
{
    const int base = lumox_test::findFreePorts(1);
    lumox_test::ScopedEnv port("LUMOX_PORT", std::to_string(base).c_str());
    InProcessCollector collector;
    ASSERT_TRUE(collector.listen(base));
    const char* handshakes[] = {nullptr, "Runtime", "Zentrix"};
    const char* types[] = {"Runtime", "Zentrix", "Probe7"};
    std::vector<lumox_client*> clients;
    std::vector<long> tokens;
    bool sent = true;
    ASSERT_TRUE(collector.serve(
        [&] {
            for (int h = 0; h < 3; ++h)
                for (int t = 0; t < 3; ++t) {
                    std::string program = std::string(handshakes[h] ? handshakes[h] : "binary") + "-" + types[t];
                    lumox_signon s = {};
                    s.type = types[t];
                    s.program = program.c_str();
                    s.binary = handshakes[h] == nullptr;
                    s.signature = handshakes[h];
                    s.pid = s.binary ? 31000 + t : 0;
                    lumox_client* c = nullptr;
                    sent = sent && lumox_connect(&c, &s) == LUMOX_OK;
                    for (int k = 0; sent && k < 2; ++k) {
                        std::string body = program + " message " + std::to_string(k) + "\n";
                        if (h == 2) {
                            lumox_violation v = {};
                            v.item = 10 + k;
                            v.severity = 3;
                            v.file = "/p/shapes.cc";
                            v.line = 9 + k;
                            v.body = body.c_str();
                            sent = lumox_send_violation(c, &v) == LUMOX_OK;
                        } else {
                            lumox_error e = {};
                            e.category = k ? "LEAK_SCOPE" : "READ_OVERFLOW";
                            e.file = "src/a.c";
                            e.line = 40 + k;
                            e.body = body.c_str();
                            sent = lumox_send_error(c, &e) == LUMOX_OK;
                        }
                    }
                    clients.push_back(c);
                    tokens.push_back(c ? lumox_client_token(c) : 0);
                    // A binary client is numbered by its pid: the next one
                    // with the same pid waits for this one to end.
                    if (s.binary)
                        lumox_close(c);
                }
        },
        [&] {
            for (long t : tokens) {
                NetClient* c = InProcessCollector::clientWithId(t);
                if (!c || c->nMessages() < 2)
                    return false;
            }
            return tokens.size() == 9;
        },
        20000));
    ASSERT_TRUE(sent);
    for (size_t k = 3; k < clients.size(); ++k)
        lumox_close(clients[k]);
    ASSERT_TRUE(lumox_test::runLoopUntil(appTestContext(), [&] { return collector.manager().nConnections() == 0; }));

    const int before = theMessageContainer->clients().length();
    ASSERT_EQ(before, 10);
    saveAs(_dir + "/kinds.rpt");
    EXPECT_EQ(shown(), "Saving error report ... Done");
    load(_dir + "/kinds.rpt");
    EXPECT_EQ(shown(), "Loading error report ... Done");
    ASSERT_EQ(theMessageContainer->clients().length(), before + 9);
    for (int k = 0; k < 9; ++k) {
        NetClient* saved = theMessageContainer->clients().at(1 + k);
        NetClient* back = theMessageContainer->clients().at(before + k);
        SCOPED_TRACE(saved->_signature->id());
        EXPECT_STREQ(back->clientTag(), saved->clientTag());
        EXPECT_STREQ(back->clientTag(), k >= 6 ? "Zentrix" : "SimpleClient");
        EXPECT_EQ(injected(back->_signature), injected(saved->_signature));
        ASSERT_EQ(back->nMessages(), 2);
        for (int m = 0; m < 2; ++m) {
            EXPECT_EQ(injected(back->_messages.at(m)), injected(saved->_messages.at(m)));
            EXPECT_STREQ(back->_messages.at(m)->originalBody(), saved->_messages.at(m)->originalBody());
        }
    }
}

// A save into a directory that is gone and a load of a file that is not
// there say why, and the text stays past the transient messages' timeout,
// until the next message.
TEST_F(MsgAreaReport, aFailedSaveOrLoadSaysWhyUntilTheNextMessage)
{
    ConxnMsg* signOn = new ConxnMsg(70101);
    char header[] = "<Runtime><4242><prog><1000><host><12:00:00>";
    signOn->extract(header);
    theMessageContainer->clientSignOn(new LmxClient(signOn));

    const std::string gone = _dir + "/gone";
    ASSERT_EQ(mkdir(gone.c_str(), 0755), 0);
    const std::string target = gone + "/lost.rpt";
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    saveAs(target);
    EXPECT_EQ(shown(), "Saving error report ... Error! (No such file or directory)");
    lumox_test::runLoopFor(appTestContext(), StatusBar::TimeoutMs + 500);
    EXPECT_EQ(shown(), "Saving error report ... Error! (No such file or directory)");
    theMessageContainer->sort();
    EXPECT_EQ(shown(), "Messages sorted by category");
    theMessageContainer->sort();

    load(target);
    EXPECT_EQ(shown(), "Loading error report ... Error! (No such file or directory)");
    const std::string text = _dir + "/notes.rpt";
    lumox_test::writeFile(text, std::string(200, 'n'));
    load(text);
    EXPECT_EQ(shown(), "Loading error report ... Error! (not a report file)");
}
