#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/SessionList.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrHdr.h"
#include "app/records/ZxErrMsg.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

namespace {

ZxClient* savedAnalysis(long token, const std::string& cwd)
{
    ConxnMsg* signOn = new ConxnMsg(token);
    char header[] = "<Zentrix><4242><shapes.cc><0><hostZ><12:00:00>";
    signOn->extract(header);
    ZxClient* c = new ZxClient(signOn);
    std::string args = packed({"lumox-zx", "-Zoi", "suppress item 15", "g++", "-c", "shapes.cc"});
    c->setCmdline(6, &args[0], &args[0] + args.size());
    std::string env = packed({"PATH=/usr/bin", "LANG=C"});
    c->setEnviron(2, &env[0], &env[0] + env.size());
    std::string dir = cwd;
    c->setCwd(&dir[0]);
    const char* records[][2] = {
        {"<Zentrix><hostZ><d><12:00:01><4242><0><EffC++11><" "/p/shapes.cc><9><Label><4><Declare a copy><Effective "
         "C++>",
         "shapes.cc:9:7: warning: 'class Label' has pointer data members\n"},
        {"<Zentrix><hostZ><d><12:00:02><4242><0><EffC++15></p/shapes.cc><48><><3><Have operator=><Effective C++>",
         "shapes.cc:48:5: warning: 'operator=' should return a reference\n"},
    };
    for (auto& r : records) {
        ZxErrHdr h(token);
        h.set(r[0], r[1], static_cast<int>(strlen(r[1]) + 1));
        c->append(h.message());
    }
    c->disconnect();
    return c;
}

}  // namespace

TEST(ZxReport, aStaticAnalysisClientLoadsBackWithItsCommandAndViolations)
{
    ZxScratch s("report");
    SessionList loaded;
    SessionSink::install(&loaded);
    ZxClient* original = savedAnalysis(900001, s.project);
    ASSERT_EQ(original->nShown(), 1) << "-Zoi hides item 15";
    std::string path = s.root + "/zx.rpt";
    {
        List<NetClient*> list;
        list.append(original);
        LmxRptFile f;
        ASSERT_EQ(f.open(path.c_str(), qipVLRecFile::CreateNew), 0);
        ListIterator<NetClient*> i(list);
        ASSERT_EQ(f.save(i), 0);
        ASSERT_EQ(f.close(), 0);
    }

    LmxRptFile f;
    ASSERT_EQ(f.open(path.c_str(), qipVLRecFile::ReadOnly), 0);
    ASSERT_EQ(f.load(), 1);
    f.close();
    ASSERT_EQ(loaded.sessions().length(), 1);
    ZxClient* back = dynamic_cast<ZxClient*>(loaded.sessions().last());
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back->clientTag(), "Zentrix");
    EXPECT_NE(back->_id, original->_id);
    EXPECT_EQ(back->_status, 0);
    EXPECT_STREQ(back->_signature->id(), "Zentrix: Analyzing \"shapes.cc\" on hostZ, pid=4242");
    ASSERT_EQ(back->_executor.argc(), 6);
    EXPECT_EQ(std::string(back->_executor.cmdlineData(), back->_executor.cmdlineDataSize()),
              std::string(original->_executor.cmdlineData(), original->_executor.cmdlineDataSize()));
    EXPECT_EQ(back->_executor.environCount(), 2);
    EXPECT_STREQ(back->cwd(), s.project.c_str());
    EXPECT_EQ(back->rebuildState(), 0);
    ASSERT_EQ(back->nMessages(), 2);
    EXPECT_EQ(back->nShown(), 1) << "its command-line suppression applies again";
    for (int k = 0; k < 2; ++k) {
        ZxErrMsg* a = dynamic_cast<ZxErrMsg*>(original->_messages.at(k));
        ZxErrMsg* b = dynamic_cast<ZxErrMsg*>(back->_messages.at(k));
        ASSERT_NE(b, nullptr);
        EXPECT_STREQ(b->id(), a->id());
        EXPECT_STREQ(b->originalBody(), a->originalBody());
        EXPECT_STREQ(b->_body.text(), a->_body.text());
        EXPECT_STREQ(b->_itemText.text(), a->_itemText.text());
    }
    SessionSink::install(nullptr);
    delete original;
}
