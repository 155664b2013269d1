#include <gtest/gtest.h>

#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionList.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

namespace {

// Saves one runtime client with two messages.
int saveRuntimeClient(const std::string& path)
{
    ConxnMsg* signOn = new ConxnMsg(31);
    char header[] = "<Runtime><31><prog><1000><hostA><10:00:00>";
    signOn->extract(header);
    LmxClient* c = new LmxClient(signOn);
    for (const char* category : {"ABW", "MLK"}) {
        ErrorMsg* m = new ErrorMsg(31);
        std::string h = std::string("<Runtime><hostA><d><10:00:01><31><0><") + category + "><src/a.c><7>";
        m->extract(&h[0]);
        m->body("body\n", 6);
        c->append(m);
    }
    c->disconnect();
    List<NetClient*> list;
    list.append(c);
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::CreateNew);
    ListIterator<NetClient*> i(list);
    if (r == 0)
        r = f.save(i);
    int closed = f.close();
    delete c;
    return r != 0 ? r : closed;
}

int load(const std::string& path, SessionList& into)
{
    SessionSink::install(&into);
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::ReadOnly);
    if (r == 0)
        r = f.load();
    SessionSink::install(nullptr);
    return r;
}

}  // namespace

// The kind of a saved client is its type as the sign-on header parses, the
// text a save writes back. A header damaged into "xZentrix>..." parses to no
// type: it was read in the static-analysis layout, lost its messages, and
// was saved in that layout under a header that then read as a runtime one.
TEST(LmxRptFileKind, aHeaderThatOnlyLooksLikeAStaticAnalysisOneLoadsAsWhatItParsesTo)
{
    ZxScratch s("rpt-kind");
    std::string path = s.root + "/damaged.rpt";
    ASSERT_EQ(saveRuntimeClient(path), 0);
    std::string bytes = lumox_test::readFile(path);
    size_t at = bytes.find("<Runtime><31>");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 9, "xZentrix>");
    lumox_test::writeFile(path, bytes);

    SessionList first;
    ASSERT_EQ(load(path, first), 1);
    ASSERT_EQ(first.sessions().length(), 1);
    NetClient* c = first.sessions().first();
    EXPECT_STREQ(c->clientTag(), "SimpleClient");
    EXPECT_EQ(c->nMessages(), 2);

    // Saved and loaded again, it is the same session.
    std::string again = s.root + "/again.rpt";
    {
        LmxRptFile f;
        ASSERT_EQ(f.open(again.c_str(), qipVLRecFile::CreateNew), 0);
        ListIterator<NetClient*> i(first.sessions());
        ASSERT_EQ(f.save(i), 0);
        ASSERT_EQ(f.close(), 0);
    }
    SessionList second;
    ASSERT_EQ(load(again, second), 1);
    ASSERT_EQ(second.sessions().length(), 1);
    EXPECT_STREQ(second.sessions().first()->clientTag(), "SimpleClient");
    EXPECT_EQ(second.sessions().first()->nMessages(), 2);
}
