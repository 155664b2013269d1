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
