#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "app/suppressions/SuprFile.h"
#include "app/suppressions/Suppression.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

using lumox_test::readFile;
using lumox_test::writeFile;

namespace {

const char* const mixedFile =
    "# my options\n"
    "Zentrix.Suppress item 12\n"
    "torvane.leaks  yes\n"
    "zentrix.un_suppress item 3 \\\n"
    "    type V\n"
    "lumox.other  x\n"
    "suppress  class Foo*\n"
    "! Zentrix.Suppress type sv\n"
    "Zentrix.Suppress type nonsense\n"
    "# end\n";

std::string entries(const SuprFile& f)
{
    std::string out;
    for (ListIterator<Suppression*> i(f._suppressions); i.valid(); i.next())
        out += i.current()->canonicalLine();
    return out;
}

}  // namespace

TEST(SuprFileLoad, readsEveryToolsSuppressLinesWithContinuationsAndDropsBadOnes)
{
    ZxScratch s("load");
    std::string path = s.project + "/.qnrc";
    writeFile(path, mixedFile);
    SuprFile f(path.c_str());
    EXPECT_EQ(f.status(), SuprFile::Writable);
    EXPECT_STREQ(f.header(), ("    Suppressions from: " + path).c_str());
    EXPECT_EQ(f.loadSuppressions(), 4);
    EXPECT_EQ(entries(f), "  Zentrix.Suppress item 12 class *\n"
                          "  Zentrix.Unsuppress item 3 type V class *\n"
                          "  Zentrix.Suppress class Foo*\n"
                          "  Zentrix.Suppress type SV class *\n");
}

TEST(SuprFileSave, movesSuppressLinesToTheEndAndKeepsEveryOtherByte)
{
    ZxScratch s("save");
    std::string path = s.project + "/.qnrc";
    writeFile(path, mixedFile);
    SuprFile f(path.c_str());
    f.loadSuppressions();
    Suppression* added = new Suppression(14, 5, "*/legacy/*", "Base");
    added->_type = 0;
    ASSERT_EQ(f.addSuppressionAfter(added, nullptr), 5);
    ASSERT_EQ(f.save(), 0);
    const std::string expected =
        "# my options\n"
        "torvane.leaks  yes\n"
        "lumox.other  x\n"
        "Zentrix.Suppress type nonsense\n"
        "# end\n"
        "  Zentrix.Unsuppress item 14 type SV class Base file */legacy/*\n"
        "  Zentrix.Suppress item 12 class *\n"
        "  Zentrix.Unsuppress item 3 type V class *\n"
        "  Zentrix.Suppress class Foo*\n"
        "  Zentrix.Suppress type SV class *\n";
    EXPECT_EQ(readFile(path), expected);

    // Saving again, or reloading and saving, changes nothing.
    ASSERT_EQ(f.save(), 0);
    EXPECT_EQ(readFile(path), expected);
    SuprFile again(path.c_str());
    EXPECT_EQ(again.loadSuppressions(), 5);
    ASSERT_EQ(again.save(), 0);
    EXPECT_EQ(readFile(path), expected);
}

TEST(SuprFileSave, transientEntriesStayOutAndOtherToolsLinesStayIn)
{
    ZxScratch s("transient");
    std::string path = s.home + "/.qnrc";
    writeFile(path, "suppress item 2\nZentrix.Suppress item 5\nlast.line 1");
    SuprFile f(path.c_str());
    f.tool("zentrix");
    EXPECT_EQ(f.loadSuppressions(), 1) << "the unprefixed line is not the analyser's";
    f._suppressions.first()->_transient = 1;
    f.addSuppression("unsuppress", "type i");
    ASSERT_EQ(f.save(), 0);
    // The unprefixed line stays where it was; the last line gets the newline
    // it needs to end.
    EXPECT_EQ(readFile(path), "suppress item 2\nlast.line 1\n  Zentrix.Unsuppress type I class *\n");

    // An item no option line can name (a client's out-of-range number) is
    // not written: it could not be read back, and would pile up save by save.
    f.addSuppression("suppress", "item 9");
    f._suppressions.last()->_tag = 2000000;
    ASSERT_EQ(f.save(), 0);
    ASSERT_EQ(f.save(), 0);
    EXPECT_EQ(readFile(path), "suppress item 2\nlast.line 1\n  Zentrix.Unsuppress type I class *\n");
}

TEST(SuprFileSave, aReadOnlyFileIsNeverRewrittenAndItsEntriesAreFixed)
{
    ZxScratch s("readonly");
    std::string path = s.project + "/.qnrc";
    writeFile(path, "# keep\nZentrix.Suppress item 12\n");
    chmod(path.c_str(), 0444);
    SuprFile f(path.c_str());
    EXPECT_EQ(f.status(), SuprFile::ReadOnly);
    f.loadSuppressions();
    f.addSuppression("suppress", "item 7");
    for (ListIterator<Suppression*> i(f._suppressions); i.valid(); i.next())
        EXPECT_EQ(i.current()->_transient, -1);
    EXPECT_EQ(f.save(), -1);
    EXPECT_EQ(readFile(path), "# keep\nZentrix.Suppress item 12\n");
    chmod(path.c_str(), 0644);
}

TEST(SuprFileSave, aMissingFileIsCreatedButNotInAMissingDirectory)
{
    ZxScratch s("missing");
    std::string path = s.project + "/.qnrc";
    SuprFile created(path.c_str());
    EXPECT_EQ(created.status(), SuprFile::Writable) << "its directory can be written";
    created.addSuppression("suppress", "item 11 class Label");
    ASSERT_EQ(created.save(), 0);
    EXPECT_EQ(readFile(path), "  Zentrix.Suppress item 11 class Label\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & 0200);

    std::string lost = s.root + "/no/such/dir/.qnrc";
    SuprFile nowhere(lost.c_str());
    EXPECT_EQ(nowhere.status(), SuprFile::Missing);
    nowhere.addSuppression("suppress", "item 11");
    EXPECT_EQ(nowhere._suppressions.first()->_transient, -1);
    EXPECT_EQ(nowhere.save(), -1);
    EXPECT_NE(access((s.root + "/no").c_str(), F_OK), 0) << "no directory is made";
    EXPECT_EQ(nowhere.status(), SuprFile::ReadOnly);
}

TEST(SuprFileSave, aLinkedFileIsWrittenWhereTheLinkPoints)
{
    ZxScratch s("link");
    std::string target = s.install + "/shared.qnrc";
    std::string link = s.project + "/.qnrc";
    writeFile(target, "# shared\n");
    chmod(target.c_str(), 0640);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    SuprFile f(link.c_str());
    f.addSuppression("suppress", "item 13");
    ASSERT_EQ(f.save(), 0);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(target), "# shared\n  Zentrix.Suppress item 13 class *\n");
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the file keeps its permissions";
}

// Each case below once lost or multiplied lines of a user's file at every
// save; two saves and a reload must leave the file and the entries alone.
namespace {

// Saves `f` twice; the text after the first save, which the second must keep.
std::string savedTwice(SuprFile& f, const std::string& path)
{
    EXPECT_EQ(f.save(), 0);
    std::string once = readFile(path);
    EXPECT_EQ(f.save(), 0);
    EXPECT_EQ(readFile(path), once) << "a second save changes nothing";
    return once;
}

std::string reloaded(const std::string& path)
{
    SuprFile f(path.c_str());
    f.loadSuppressions();
    return entries(f);
}

}  // namespace

TEST(SuprFileSave, aLineOfAnyLengthGoesWholeAndOnce)
{
    ZxScratch s("long");
    std::string path = s.project + "/.qnrc";
    // The first line has a backslash as its 2047th byte but goes on after it;
    // the third is 3,000 bytes long and continues.
    std::string inner = "Zentrix.Suppress class " + std::string(2023, 'B') + "\\Z";
    std::string cls(3000, 'A');
    writeFile(path, inner + "\n"
                    "lumox.other keep\n"
                    "Zentrix.Suppress item 3 class " + cls + " \\\n"
                    "    file x.cc\n"
                    "torvane.more keep\n");
    SuprFile f(path.c_str());
    ASSERT_EQ(f.loadSuppressions(), 2);
    const std::string saved = "  Zentrix.Suppress class " + std::string(2023, 'B') + "\\Z\n"
                              "  Zentrix.Suppress item 3 class " + cls + " file x.cc\n";
    EXPECT_EQ(savedTwice(f, path), "lumox.other keep\ntorvane.more keep\n" + saved);
    EXPECT_EQ(reloaded(path), saved);
}

TEST(SuprFileSave, aLineHoldingANulIsKeptAndTakesNoNeighbourWithIt)
{
    ZxScratch s("nul");
    std::string path = s.project + "/.qnrc";
    const char text[] = "# mine\n"
                        "Zentrix.Suppress item 4 \\\0x\n"
                        "lumox.other keep\n"
                        "Zentrix.Suppress item 6 \\\n"
                        "    class A\0B\n"
                        "torvane.more keep\n"
                        "Zentrix.Suppress item 5\n";
    std::string original(text, sizeof text - 1);
    writeFile(path, original);
    SuprFile f(path.c_str());
    ASSERT_EQ(f.loadSuppressions(), 1) << "only the line without a NUL is an entry";
    std::string kept = original.substr(0, original.find("Zentrix.Suppress item 5"));
    EXPECT_EQ(savedTwice(f, path), kept + "  Zentrix.Suppress item 5 class *\n");
}

TEST(SuprFileSave, aLastLineThatContinuesDoesNotTakeTheSavedEntries)
{
    ZxScratch s("open");
    std::string path = s.project + "/.qnrc";
    writeFile(path, "lumox.other keep \\");
    SuprFile f(path.c_str());
    f.addSuppression("suppress", "item 7");
    f.addSuppression("unsuppress", "item 8");
    EXPECT_EQ(savedTwice(f, path), "lumox.other keep \\\n\n"
                                   "  Zentrix.Suppress item 7 class *\n"
                                   "  Zentrix.Unsuppress item 8 class *\n");
    EXPECT_EQ(reloaded(path), entries(f));
}

TEST(SuprFileSave, patternsWithBackslashesOrBlanksReadBackAsTheSameEntries)
{
    ZxScratch s("patterns");
    std::string path = s.project + "/.qnrc";
    SuprFile f(path.c_str());
    f.addSuppression(new Suppression(0, 0, nullptr, "Foo\\"));
    f.addSuppression(new Suppression(12, 3, "C:\\src\\", "Bar\\"));
    f.addSuppression(new Suppression(9, 0, "/home/ann/My Project/a.cc", "Holder<int, int>"));
    f.addSuppression("suppress", "item 10");
    std::string once = savedTwice(f, path);
    EXPECT_EQ(once, "  Zentrix.Suppress class Foo\\ all\n"
                    "  Zentrix.Suppress item 12 type V class Bar\\ file C:\\src\\ all\n"
                    "  Zentrix.Suppress item 9 class Holder<int,?int> file /home/ann/My?Project/a.cc\n"
                    "  Zentrix.Suppress item 10 class *\n");
    SuprFile again(path.c_str());
    ASSERT_EQ(again.loadSuppressions(), 4);
    EXPECT_EQ(entries(again), once);
    EXPECT_EQ(again.isSuppressed(SuprRec(9, 3, "/home/ann/My Project/a.cc", "Holder<int, int>")), 1);
    ASSERT_EQ(again.save(), 0);
    EXPECT_EQ(readFile(path), once);
}

TEST(SuprFileSave, aCrLfFileKeepsItsLineEndsAndGetsItsEntriesInThem)
{
    ZxScratch s("crlf");
    std::string path = s.project + "/.qnrc";
    const std::string original = "# written elsewhere\r\n"
                                 "Zentrix.Suppress item 12\r\n"
                                 "torvane.leaks  yes\r\n"
                                 "zentrix.un_suppress item 3 \\\r\n"
                                 "    type V\r\n"
                                 "\r\n"
                                 "lumox.other keep \\";
    writeFile(path, original);
    SuprFile f(path.c_str());
    ASSERT_EQ(f.loadSuppressions(), 2);
    EXPECT_EQ(entries(f), "  Zentrix.Suppress item 12 class *\n"
                          "  Zentrix.Unsuppress item 3 type V class *\n")
        << "no CR is taken into a pattern";
    f.addSuppression("suppress", "class Foo");
    const std::string saved = "# written elsewhere\r\n"
                              "torvane.leaks  yes\r\n"
                              "\r\n"
                              "lumox.other keep \\\r\n"
                              "\r\n"
                              "  Zentrix.Suppress item 12 class *\r\n"
                              "  Zentrix.Unsuppress item 3 type V class *\r\n"
                              "  Zentrix.Suppress class Foo\r\n";
    EXPECT_EQ(savedTwice(f, path), saved);
    EXPECT_EQ(reloaded(path), entries(f));
    SuprFile again(path.c_str());
    again.loadSuppressions();
    ASSERT_EQ(again.save(), 0);
    EXPECT_EQ(readFile(path), saved);
}

TEST(SuprFileLoad, theReadersComplaintsAreToldOnLoadingAndNotAgainOnSaving)
{
    ZxScratch s("complaints");
    std::string path = s.project + "/.qnrc";
    writeFile(path, "frobber.suppress x\nlumox.report_file x\nZentrix.Suppress item 2\n");
    SuprFile f(path.c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.loadSuppressions(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Bad tool in option: frobber\n[" + path + ":2] Bad option: reportfile\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.save(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SuprFileSave, anEntryWithASeverityNoLineCanNameIsNotWritten)
{
    ZxScratch s("severity");
    std::string path = s.project + "/.qnrc";
    SuprFile f(path.c_str());
    f.addSuppression(new Suppression(3, 9, nullptr, nullptr));
    f.addSuppression("suppress", "item 4");
    EXPECT_EQ(savedTwice(f, path), "  Zentrix.Suppress item 4 class *\n");
}
