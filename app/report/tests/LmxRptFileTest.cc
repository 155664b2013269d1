#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/SessionList.h"
#include "qip/Monitors/qipBigEndian.h"
#include "tests/support/TestSupport.h"

namespace {

const char* const hiddenCategory = "LmxRptFileTest-hidden";

// A disconnected runtime client as the network side leaves it.
LmxClient* makeClient(long token, const std::string& prog, const std::vector<std::string>& categories)
{
    ConxnMsg* s = new ConxnMsg(token);
    std::string h = "<Runtime><" + std::to_string(token) + "><" + prog + "><1000><hostA><10:00:00>";
    s->extract(&h[0]);
    LmxClient* c = new LmxClient(s);
    int n = 0;
    for (const std::string& cat : categories) {
        ErrorMsg* m = new ErrorMsg(token);
        std::string mh = "<Torvane><hostA><Mon Jan 5><10:00:0" + std::to_string(n) + "><" + std::to_string(token)
                         + "><0><" + cat + "><src/dir/f" + std::to_string(n) + ".c><" + std::to_string(40 + n)
                         + ">";
        m->extract(&mh[0]);
        std::string body = cat + " in " + prog + "\n  stack line " + std::to_string(n) + "\n";
        m->body(body.c_str(), static_cast<int>(body.size() + 1));
        m->_status = Old;
        c->append(m);
        ++n;
    }
    c->disconnect();
    return c;
}

std::string tempFile(const std::string& name)
{
    return lumox_test::scratchDir("rptfile") + "/" + std::to_string(getpid()) + "-" + name;
}

// Saves the clients into a new report file.
int saveAll(const std::string& path, const std::vector<NetClient*>& clients)
{
    List<NetClient*> list;
    for (NetClient* c : clients)
        list.append(c);
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::CreateNew);
    if (r != 0)
        return r;
    ListIterator<NetClient*> i(list);
    r = f.save(i);
    int c = f.close();
    return r != 0 ? r : c;
}

// The sessions loaded by this test program, in the order they signed on.
SessionList& loaded()
{
    static SessionList list;
    SessionSink::install(&list);
    return list;
}

// Loads a report file: the load result (or the open failure), and the
// clients it added.
int loadInto(const std::string& path, std::vector<NetClient*>& added)
{
    int before = loaded().sessions().length();
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::ReadOnly);
    if (r == 0)
        r = f.load();
    added.clear();
    for (int i = before; i < loaded().sessions().length(); ++i)
        added.push_back(loaded().sessions().at(i));
    return r;
}

std::string injected(NetMsg* m)
{
    char* t = m->inject();
    std::string s = t ? t : "(null)";
    free(t);
    return s;
}

uint32_t be32(const std::string& s, size_t at)
{
    return qipGetBE32(reinterpret_cast<const unsigned char*>(s.data()) + at);
}

void putBe32(std::string& s, size_t at, uint32_t v) { qipPutBE32(reinterpret_cast<unsigned char*>(&s[at]), v); }

// Two clients: "one" with two messages, "two" without.
std::string writeSample(const std::string& name)
{
    std::string path = tempFile(name);
    NetClient* a = makeClient(11, "one", {"READ_OVERFLOW", "LEAK_SCOPE"});
    NetClient* b = makeClient(12, "two", {});
    EXPECT_EQ(saveAll(path, {a, b}), 0);
    delete a;
    delete b;
    return path;
}

}  // namespace

TEST(LmxRptFile, layoutPutsTheReportHeaderAt64AndOneRecordPerClient)
{
    std::string bytes = lumox_test::readFile(writeSample("layout.rpt"));
    ASSERT_GE(bytes.size(), 128u + 16);
    EXPECT_EQ(be32(bytes, 0), 0x6710u);
    EXPECT_EQ(be32(bytes, 8), 2u);
    EXPECT_EQ(be32(bytes, 12), 64u);
    EXPECT_EQ(be32(bytes, 16), 128u);
    EXPECT_EQ(bytes.substr(64, 16), std::string("\0\0\x67\x05\0\0\0\x03\0\0\0\0\0\0\0\x01", 16));
    EXPECT_EQ(bytes.substr(80, 48), std::string(48, '\0'));

    // First record: header, then sign-on length and text, message count,
    // and per message header length, header, body length, body.
    EXPECT_EQ(be32(bytes, 128 + 12), 200u);
    size_t p = 128 + 16;
    auto expectText = [&](const std::string& text) {
        EXPECT_EQ(be32(bytes, p), text.size() + 1);
        EXPECT_EQ(bytes.substr(p + 4, text.size() + 1), text + '\0');
        p += 4 + text.size() + 1;
    };
    expectText("<Runtime><11><one><1000><hostA><10:00:00>");
    EXPECT_EQ(be32(bytes, p), 2u);
    p += 4;
    expectText("<Torvane><hostA><Mon Jan 5><10:00:00><11><0><READ_OVERFLOW><src/dir/f0.c><40>");
    expectText("READ_OVERFLOW in one\n  stack line 0\n");

    uint32_t second = be32(bytes, 128);
    EXPECT_EQ(second, 128 + 16 + be32(bytes, 128 + 4));
    EXPECT_EQ(be32(bytes, 20), second);
    EXPECT_EQ(be32(bytes, second), 0u);
    EXPECT_EQ(be32(bytes, second + 16 + 4 + be32(bytes, second + 16)), 0u);
}

TEST(LmxRptFile, roundTripRestoresClientsInOrderWithNewNumbers)
{
    std::string path = tempFile("roundtrip.rpt");
    std::vector<NetClient*> originals = {makeClient(21, "first", {"READ_OVERFLOW", hiddenCategory}),
                                         makeClient(22, "second", {}),
                                         makeClient(23, "third", {"FREE_NULL", "LEAK_SCOPE", "READ_UNINIT"})};
    ASSERT_EQ(saveAll(path, originals), 0);
    LmxClient::_filter.suppress(MsgSuppression::ErrorCategory, hiddenCategory);

    int shownBefore = loaded().nShown();
    std::vector<NetClient*> added;
    ASSERT_EQ(loadInto(path, added), 3);
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(loaded().nShown(), shownBefore + 4);
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        NetClient* o = originals[k];
        NetClient* c = added[k];
        EXPECT_EQ(c->_id, added[0]->_id + long(k));
        EXPECT_NE(c->_id, o->_id);
        EXPECT_EQ(c->_signature->_token, c->_id);
        EXPECT_EQ(c->_status, 0);
        EXPECT_STREQ(c->clientTag(), "SimpleClient");
        EXPECT_EQ(injected(c->_signature), injected(o->_signature));
        EXPECT_STREQ(c->_signature->id(), o->_signature->id());
        ASSERT_EQ(c->nMessages(), o->nMessages());
        for (int i = 0; i < c->nMessages(); ++i) {
            ErrorMsg* m = c->_messages.at(i);
            ErrorMsg* om = o->_messages.at(i);
            EXPECT_EQ(injected(m), injected(om));
            EXPECT_STREQ(m->_body.text(), om->_body.text());
            EXPECT_EQ(m->_bodySz, int(strlen(om->_body.text()) + 1));
            EXPECT_EQ(m->_token, c->_id);
            EXPECT_EQ(m->_status, New);
            EXPECT_EQ(m->_suppressed, strcmp(m->_errorCategory.text(), hiddenCategory) == 0 ? Yes : No);
        }
    }
    EXPECT_EQ(added[0]->_nSuppressed, 1);
    for (NetClient* o : originals)
        delete o;
}

// Cut anywhere, a report file loads what lies before the cut and fails with
// "file corrupt".
TEST(LmxRptFile, truncatedFilesKeepWhatWasReadAndSayCorrupt)
{
    std::string whole = lumox_test::readFile(writeSample("whole.rpt"));
    std::string path = tempFile("cut.rpt");
    const uint32_t second = be32(whole, 128);
    // A client comes back as soon as its sign-on header is there.
    const size_t signOn1 = 128 + 16 + 4 + be32(whole, 128 + 16);
    const size_t signOn2 = second + 16 + 4 + be32(whole, second + 16);
    for (size_t len = 0; len < whole.size(); ++len) {
        SCOPED_TRACE(len);
        lumox_test::writeFile(path, whole.substr(0, len));
        std::vector<NetClient*> added;
        int r = loadInto(path, added);
        EXPECT_EQ(r, qipVLRecFile::corruptFile);
        EXPECT_EQ(added.size(), size_t(len >= signOn1) + size_t(len >= signOn2));
        if (len >= second) {
            EXPECT_EQ(added[0]->nMessages(), 2);
        }
        for (NetClient* c : added)
            EXPECT_EQ(c->_status, 0);
    }
}

TEST(LmxRptFile, wrongReportMagicOrVersionHugeLengthsAndUnknownTagsAreHandled)
{
    std::string whole = lumox_test::readFile(writeSample("damaged.rpt"));
    const size_t data = 128 + 16;
    const size_t firstMsg = data + 4 + be32(whole, data) + 4;
    const size_t firstBody = firstMsg + 4 + be32(whole, firstMsg);
    const int corrupt = qipVLRecFile::corruptFile;
    // A word written over the sample, what loading then gives, and how many
    // messages the one client kept has (-1: no client comes back).
    struct Case {
        size_t at;
        uint32_t value;
        int result;
        int messagesKept;
    } cases[] = {
        {0, 0x6711, 2, 2},                               // another writer's container magic
        {24, 2, 2, 2},                                   // and container version
        {64, 0x6706, qipVLRecFile::badMagicNumber, -1},  // report magic
        {76, 2, qipVLRecFile::badVersionNumber, -1},     // report version 2
        {data, 0xfffffff0u, corrupt, -1},                // sign-on length
        {firstMsg - 4, 0x7fffffffu, corrupt, 2},         // message count
        {firstMsg, 0xfffffff0u, corrupt, 0},             // header length
        {firstBody, 0x10000u, corrupt, 0},               // body length
        {128 + 4, 0xffffff00u, corrupt, -1},             // record size
        {68, 9, 2, 2},                                   // the program version is not checked
    };
    std::string path = tempFile("damaged-bad.rpt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        std::string bytes = whole;
        putBe32(bytes, c.at, c.value);
        lumox_test::writeFile(path, bytes);
        std::vector<NetClient*> added;
        EXPECT_EQ(loadInto(path, added), c.result);
        ASSERT_EQ(added.empty(), c.messagesKept < 0);
        if (!added.empty()) {
            EXPECT_EQ(added[0]->nMessages(), c.messagesKept);
            EXPECT_EQ(added[0]->_status, 0);
        }
    }
    EXPECT_STREQ(qipVLRecFile::error(qipVLRecFile::badVersionNumber), "bad version number");

    // A record of another tag between two clients is skipped with a line.
    std::string mixed = tempFile("mixed.rpt");
    {
        NetClient* a = makeClient(31, "a", {"X"});
        NetClient* b = makeClient(32, "b", {});
        LmxRptFile f;
        ASSERT_EQ(f.open(mixed.c_str(), qipVLRecFile::CreateNew), 0);
        ASSERT_EQ(f.save(a), 0);
        ASSERT_EQ(f.newRecord(299, "something newer", 15), 0);
        ASSERT_EQ(f.save(b), 0);
        ASSERT_EQ(f.close(), 0);
        delete a;
        delete b;
    }
    testing::internal::CaptureStderr();
    std::vector<NetClient*> added;
    EXPECT_EQ(loadInto(mixed, added), 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), " *** LmxRptFile::processRecord: unknown tag\n");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_STREQ(added[1]->_signature->_filename.text(), "b");
}

// The first record where the file header says, not only right after the
// headers, and a record whose size field is smaller than the session it
// holds: both are what another writer may leave, and both load whole.
TEST(LmxRptFile, aFirstRecordFurtherOnAndAShortSizeFieldLoadWhole)
{
    std::string whole = lumox_test::readFile(writeSample("elsewhere.rpt"));
    const uint32_t gap = 40;
    std::string bytes = whole.substr(0, 128) + std::string(gap, '\x55') + whole.substr(128);
    putBe32(bytes, 16, 128 + gap);
    putBe32(bytes, 20, be32(whole, 20) + gap);
    putBe32(bytes, 128 + gap, be32(whole, 128) + gap);
    putBe32(bytes, 128 + gap + 4, 7);
    std::string path = tempFile("elsewhere-moved.rpt");
    lumox_test::writeFile(path, bytes);
    std::vector<NetClient*> added;
    ASSERT_EQ(loadInto(path, added), 2);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]->nMessages(), 2);
    EXPECT_STREQ(added[1]->_signature->_filename.text(), "two");

    // A first record inside the headers is damage.
    putBe32(bytes, 16, 100);
    lumox_test::writeFile(path, bytes);
    EXPECT_EQ(loadInto(path, added), qipVLRecFile::corruptFile);
    EXPECT_TRUE(added.empty());
}
