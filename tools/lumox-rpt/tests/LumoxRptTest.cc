#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/report/LmxRptFile.h"
#include "qip/Monitors/qipBigEndian.h"
#include "tests/support/TestSupport.h"
#include "tools/lumox-rpt/tests/RptTool.h"

namespace {

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
                         + "><" + (n == 0 ? "0" : "7") + "><" + cat + "><src/f" + std::to_string(n) + ".c><"
                         + std::to_string(40 + n) + ">";
        m->extract(&mh[0]);
        m->body("body\n", 6);
        c->append(m);
        ++n;
    }
    c->disconnect();
    return c;
}

std::string tempFile(const std::string& name, const std::string& text = "") { return rptTempFile(name, text); }

// Client "one" with two messages (the second from thread 7), client "two"
// with none.
std::string writeSample(const std::string& name)
{
    std::string path = tempFile(name);
    LmxClient* a = makeClient(11, "one", {"READ_OVERFLOW", "LEAK_SCOPE"});
    LmxClient* b = makeClient(12, "two", {});
    LmxRptFile f;
    EXPECT_EQ(f.open(path.c_str(), qipVLRecFile::CreateNew), 0);
    EXPECT_EQ(f.save(a), 0);
    EXPECT_EQ(f.save(b), 0);
    EXPECT_EQ(f.close(), 0);
    delete a;
    delete b;
    return path;
}

ToolRun run(const std::vector<std::string>& args) { return runRpt(args); }

}  // namespace

TEST(LumoxRpt, listShowsClientsAndIndentedMessagesAndDumpEveryHeader)
{
    std::string path = writeSample("sample.rpt");
    ToolRun r = run({"list", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Runtime: Executing \"one\" on hostA, pid=11\n"
                     "   READ_OVERFLOW                            f0.c : 40\n"
                     "   LEAK_SCOPE                  Thread: 7     f1.c : 41\n"
                     "Runtime: Executing \"two\" on hostA, pid=12\n");

    std::string bytes = lumox_test::readFile(path);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    uint32_t second = qipGetBE32(b + 128);
    uint32_t size1 = qipGetBE32(b + 132), size2 = qipGetBE32(b + second + 4);
    std::ostringstream want;
    want << " qipVLHeader: \n"
         << "               magic : 0x6710\n"
         << "              nTotal : " << size1 + size2 + 32 << "\n"
         << "   number of records : 2\n"
         << "    user header size : 64\n"
         << "        first offset : 128\n"
         << "         last offset : " << second << "\n"
         << "             version : 1\n"
         << " LmxRptHeader: \n"
         << "               magic : 0x6705\n"
         << "    Map File version : 1\n"
         << "     Torvane version : 3.0\n"
         << " record 1 at offset 128:\n"
         << "                 tag : 200\n"
         << "                size : " << size1 << "\n"
         << "           real size : " << size1 << "\n"
         << "      next record at : " << second << "\n"
         << " record 2 at offset " << second << ":\n"
         << "                 tag : 200\n"
         << "                size : " << size2 << "\n"
         << "           real size : " << size2 << "\n"
         << "      next record at : 0\n"
         << " 2 records\n";
    r = run({"dump", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, want.str());
    EXPECT_EQ(r.err, "");

    // The reader links the model alone: no X library at all.
    lumox_test::Child ldd;
    ASSERT_TRUE(ldd.start({"/usr/bin/ldd", lumox_test::buildPath("bin/lumox-rpt")}));
    ASSERT_EQ(ldd.wait(), 0);
    for (const char* lib : {"libXm", "libXt", "libX11", "libXpm"})
        EXPECT_EQ(ldd.out().find(lib), std::string::npos) << ldd.out();
}

TEST(LumoxRpt, badFilesExitWithStatus1AndBadCommandLinesWith2)
{
    ToolRun r = run({});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: lumox-rpt dump FILE"), std::string::npos);
    r = run({"show", "x.rpt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.find("lumox-rpt: unknown command \"show\"\n"), 0u);
    r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage:"), std::string::npos);

    std::string missing = lumox_test::scratchDir("lumox-rpt") + "/missing.rpt";
    r = run({"list", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lumox-rpt: " + missing + ": cannot open (fopen failed: No such file or directory)\n");

    std::string text = tempFile("notes.txt", "just some notes\n");
    for (const char* cmd : {"list", "dump"}) {
        r = run({cmd, text});
        EXPECT_EQ(r.status, 1) << cmd;
        EXPECT_EQ(r.err, "lumox-rpt: " + text + ": not a report file (bad magic number)\n") << cmd;
    }

    std::string good = lumox_test::readFile(writeSample("good.rpt"));
    std::string v2 = good;
    qipPutBE32(reinterpret_cast<unsigned char*>(&v2[76]), 2);
    std::string v2path = tempFile("v2.rpt", v2);
    r = run({"dump", v2path});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("    Map File version : 2\n"), std::string::npos);
    EXPECT_EQ(r.err, "lumox-rpt: " + v2path + ": unsupported report format (bad version number)\n");

    // Cut inside the second record: the first client is listed, then the error.
    uint32_t second = qipGetBE32(reinterpret_cast<const unsigned char*>(good.data()) + 128);
    std::string cut = tempFile("cut.rpt", good.substr(0, second + 20));
    r = run({"list", cut});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find("Runtime: Executing \"one\""), 0u);
    EXPECT_EQ(r.out.find("\"two\""), std::string::npos);
    EXPECT_EQ(r.err, "lumox-rpt: " + cut + ": file corrupt\n");
    r = run({"dump", cut});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" record 1 at offset 128:\n"), std::string::npos);
    EXPECT_EQ(r.err, "lumox-rpt: " + cut + ": file corrupt\n");
}
