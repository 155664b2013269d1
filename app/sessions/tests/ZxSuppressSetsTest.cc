#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ZxErrMsg.h"
#include "app/sessions/ZxClient.h"
#include "app/sessions/ZxSuppress.h"
#include "app/suppressions/SuprFile.h"
#include "app/suppressions/ZxSuprRec.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

using lumox_test::readFile;
using lumox_test::writeFile;

// One option file is one suppression set, whatever path or role brought it
// (installation, home, project, -Zop): it is read once, listed once among a
// client's sets and written once by a save, which keeps its bytes.
namespace {

ZxClient* analysis(long token, const std::string& cwd, const std::vector<std::string>& argv = {"lumox-zx", "g++"})
{
    ConxnMsg* signOn = new ConxnMsg(token);
    char header[] = "<Zentrix><42><a.cc><0><host><now>";
    signOn->extract(header);
    ZxClient* c = new ZxClient(signOn);
    std::string line = packed(argv);
    c->setCmdline(static_cast<int>(argv.size()), &line[0], &line[0] + line.size());
    std::string dir = cwd;
    c->setCwd(&dir[0]);
    c->ensureSuppressions();
    return c;
}

int suppressed(ZxClient* c, int item)
{
    ZxErrMsg m(c->_id);
    std::string header = "<Zentrix><host><d><t><42><0><EffC++" + std::to_string(item) + "></src/a.cc><7><Label><2><t><E>";
    m.extract(&header[0]);
    return c->isSuppressed(&m);
}

// The files of the client's sets in force, in order ("-" for a set without
// a file), each with its number of entries.
std::string listed(ZxClient* c)
{
    List<ZxSuprRec*> sets;
    c->setsInForce(sets);
    std::string out;
    for (ListIterator<ZxSuprRec*> i(sets); i.valid(); i.next()) {
        const char* path = i.current()->_file->optionfile();
        out += std::string(path ? path : "-") + " " + std::to_string(i.current()->nSuppressions()) + "\n";
    }
    return out;
}

// What the editor's save does: every writable file among the sets it shows.
void saveAll(ZxClient* c)
{
    List<ZxSuprRec*> sets;
    c->setsInForce(sets);
    for (ListIterator<ZxSuprRec*> i(sets); i.valid(); i.next()) {
        if (i.current()->_file->status() == SuprFile::Writable) {
            EXPECT_EQ(i.current()->save(), 0) << i.current()->_file->optionfile();
        }
    }
}

}  // namespace

TEST(ZxSuppressSets, anInstallationInTheHomeDirectoryReadsAndWritesTheHomeFileOnce)
{
    ZxScratch s("install-home");
    writeFile(s.home + "/.qnrc", "# mine\r\nZentrix.Suppress item 12\r\nfrobber.colour red\r\n");
    // Named by another path to the same directory.
    setenv("QUENTAR", (s.home + "/../home/").c_str(), 1);
    testing::internal::CaptureStderr();
    ZxClient* c = analysis(1, s.project);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Bad tool in option: frobber\n") << "told once";
    EXPECT_EQ(listed(c), "- 1\n" + s.home + "/lib.abi/abicc/.qnrc 0\n" + s.home + "/.qnrc 1\n" + s.project +
                             "/.qnrc 0\n");
    ZxSuppress::globalSuppressions().last()->_file->addSuppression("unsuppress", "item 13");
    for (int round = 0; round < 2; ++round)
        saveAll(c);
    const std::string saved = "# mine\r\nfrobber.colour red\r\n"
                              "  Zentrix.Suppress item 12 class *\r\n  Zentrix.Unsuppress item 13 class *\r\n";
    EXPECT_EQ(readFile(s.home + "/.qnrc"), saved);
    delete c;

    // Read again, it is the same file with the same entries.
    ZxSuppress::release();
    testing::internal::CaptureStderr();
    c = analysis(2, s.project);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ZxSuppress::globalSuppressions().last()->nSuppressions(), 2);
    saveAll(c);
    EXPECT_EQ(readFile(s.home + "/.qnrc"), saved);
    delete c;
}

TEST(ZxSuppressSets, aProgramRunInHomeHasTheHomeFileOnceAsItsProjectFile)
{
    ZxScratch s("run-in-home");
    writeFile(s.install + "/.qnrc", "Zentrix.Unsuppress item 12\n");
    writeFile(s.home + "/.qnrc", "Zentrix.Suppress item 12\nsuppress item 14\n");
    ZxClient* c = analysis(1, s.home);
    ZxClient* other = analysis(2, s.project);
    EXPECT_EQ(listed(c), "- 1\n" + s.install + "/lib.abi/abicc/.qnrc 0\n" + s.install + "/.qnrc 1\n" + s.home +
                             "/.qnrc 1\n")
        << "the home file keeps its rule: only Zentrix. lines count";
    EXPECT_EQ(c->_suppressions.first(), ZxSuppress::globalSuppressions().last());
    EXPECT_EQ(suppressed(c, 12), 1);
    EXPECT_EQ(suppressed(other, 12), 1);

    // An edit made through either client is the one set's, and is saved.
    c->_suppressions.first()->_file->addSuppression("suppress", "item 15");
    EXPECT_EQ(suppressed(other, 15), 1);
    saveAll(c);
    saveAll(other);
    EXPECT_EQ(readFile(s.home + "/.qnrc"),
              "suppress item 14\n  Zentrix.Suppress item 12 class *\n  Zentrix.Suppress item 15 class *\n");
    delete c;
    delete other;
}

TEST(ZxSuppressSets, aZopNamingAListedFileMovesItToItsCommandLinePlace)
{
    ZxScratch s("zop");
    writeFile(s.home + "/.qnrc", "Zentrix.Suppress item 12\n");
    writeFile(s.project + "/.qnrc", "Zentrix.Unsuppress item 12\nZentrix.Suppress item 14\n");
    writeFile(s.project + "/extra.qnrc", "unsuppress item 14\n");
    ZxClient* c = analysis(1, s.project,
                           {"lumox-zx", "-Zop", "extra.qnrc", "-Zoi", "suppress item 16", "-Zop", "../home/.qnrc",
                            "-Zop", "./extra.qnrc", "-Zop", s.project + "/.qnrc", "g++"});
    EXPECT_EQ(listed(c), "- 1\n" + s.install + "/lib.abi/abicc/.qnrc 0\n" + s.install + "/.qnrc 0\n" + "- 1\n" +
                             s.home + "/.qnrc 1\n" + s.project + "/extra.qnrc 1\n" + s.project + "/.qnrc 2\n");
    EXPECT_EQ(suppressed(c, 12), 0) << "the project file, named last, decides";
    EXPECT_EQ(suppressed(c, 14), 1);
    EXPECT_EQ(suppressed(c, 16), 1);

    // Another client naming one of the files shares its set.
    ZxClient* again = analysis(2, s.root, {"lumox-zx", "-Zop", s.project + "/extra.qnrc", "g++"});
    ASSERT_EQ(again->_suppressions.length(), 2);
    EXPECT_EQ(again->_suppressions.last(), c->_suppressions.at(c->_suppressions.length() - 2));
    again->_suppressions.last()->_file->addSuppression("suppress", "item 17");
    saveAll(c);
    saveAll(again);
    EXPECT_EQ(readFile(s.home + "/.qnrc"), "  Zentrix.Suppress item 12 class *\n");
    EXPECT_EQ(readFile(s.project + "/extra.qnrc"),
              "  Zentrix.Unsuppress item 14 class *\n  Zentrix.Suppress item 17 class *\n");
    EXPECT_EQ(readFile(s.project + "/.qnrc"),
              "  Zentrix.Unsuppress item 12 class *\n  Zentrix.Suppress item 14 class *\n");
    delete again;
    delete c;
}
