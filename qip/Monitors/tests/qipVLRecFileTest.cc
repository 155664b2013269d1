#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "qip/Monitors/qipBigEndian.h"
#include "qip/Monitors/qipVLRecFile.h"
#include "tests/support/TestSupport.h"

namespace {

// A record file with a user header of a given size filled with 'U', that
// collects every record it loads.
class TestRecFile : public qipVLRecFile {
public:
    struct Rec {
        unsigned tag;
        std::string data;
        unsigned realSize;
    };

    int _userSz = 0;
    std::vector<Rec> _recs;

    int writeHeader() override
    {
        std::string u(_userSz, 'U');
        return fwrite(u.data(), 1, u.size(), _fp) == u.size() ? 0 : fwriteFailed;
    }
    int processRecord(unsigned tag, unsigned size, unsigned realSize) override
    {
        std::string d(size, '\0');
        int r = readData(&d[0], size);
        if (r != 0)
            return r;
        _recs.push_back({tag, d, realSize});
        return 0;
    }
    void dump(std::ostream& os) override { os << _header; }
};

std::string tempFile(const char* name)
{
    return lumox_test::scratchDir("vlrecfile") + "/" + std::to_string(getpid()) + "-" + name;
}

// A directory of this test alone, so that what a save leaves in it shows.
std::string privateDir()
{
    std::string templ = lumox_test::scratchDir("vlrecfile") + "/dir-XXXXXX";
    return mkdtemp(&templ[0]) ? templ : std::string();
}

// The names in a directory, sorted, each followed by a blank.
std::string namesIn(const std::string& dir)
{
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, ".."))
                names.insert(e->d_name);
        closedir(d);
    }
    std::string out;
    for (const std::string& n : names)
        out += n + " ";
    return out;
}

uint32_t be32(const std::string& bytes, size_t at)
{
    return qipGetBE32(reinterpret_cast<const unsigned char*>(bytes.data()) + at);
}

void putBe32(std::string& bytes, size_t at, uint32_t v)
{
    qipPutBE32(reinterpret_cast<unsigned char*>(&bytes[at]), v);
}

// Writes the three records of 10, 20 and 30 bytes behind a 12-byte user header.
std::string writeThree(const char* name)
{
    std::string path = tempFile(name);
    TestRecFile f;
    f._userSz = 12;
    EXPECT_EQ(f.open(path.c_str(), qipVLRecFile::CreateNew, 12), 0);
    EXPECT_EQ(f.newRecord(7, std::string(10, 'a').c_str(), 10), 0);
    EXPECT_EQ(f.newRecord(8, std::string(20, 'b').c_str(), 20), 0);
    EXPECT_EQ(f.newRecord(9, std::string(30, 'c').c_str(), 30), 0);
    EXPECT_EQ(f.close(), 0);
    EXPECT_FALSE(f.isOpen());
    return path;
}

int loadFile(const std::string& path, TestRecFile& f, int userSz = 12)
{
    f._userSz = userSz;
    int r = f.open(path.c_str(), qipVLRecFile::ReadOnly, userSz);
    return r != 0 ? r : f.load();
}

}  // namespace

TEST(qipVLRecFile, layoutIsBigEndianWithChainedRecordsThatLoadInOrder)
{
    std::string path = writeThree("layout.vl");
    std::string bytes = lumox_test::readFile(path);
    ASSERT_EQ(bytes.size(), 76u + 108u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\x67\x10", 4));
    EXPECT_EQ(be32(bytes, 4), 108u);
    EXPECT_EQ(be32(bytes, 8), 3u);
    EXPECT_EQ(be32(bytes, 12), 12u);
    EXPECT_EQ(be32(bytes, 16), 76u);
    EXPECT_EQ(be32(bytes, 20), 76u + 26 + 36);
    EXPECT_EQ(be32(bytes, 24), 1u);
    EXPECT_EQ(bytes.substr(28, 36), std::string(36, '\0'));
    EXPECT_EQ(bytes.substr(64, 12), std::string(12, 'U'));

    TestRecFile f;
    ASSERT_EQ(loadFile(path, f), 3);
    ASSERT_EQ(f._recs.size(), 3u);
    const uint32_t at[3] = {76, 102, 138};
    const uint32_t next[3] = {102, 138, 0};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        std::string data(10 * (i + 1), 'a' + i);
        EXPECT_EQ(be32(bytes, at[i]), next[i]);
        EXPECT_EQ(be32(bytes, at[i] + 4), data.size());
        EXPECT_EQ(be32(bytes, at[i] + 8), data.size());
        EXPECT_EQ(be32(bytes, at[i] + 12), 7u + i);
        EXPECT_EQ(bytes.substr(at[i] + 16, data.size()), data);
        EXPECT_EQ(f._recs[i].tag, 7u + i);
        EXPECT_EQ(f._recs[i].data, data);
        EXPECT_EQ(f._recs[i].realSize, data.size());
    }
    // close() of a read-only file leaves it open until destruction.
    EXPECT_EQ(f.close(), 0);
    EXPECT_TRUE(f.isOpen());
}

TEST(qipVLRecFile, emptyRecordsWriteNothingAndAnUnfinishedFileReplacesNothing)
{
    std::string dir = privateDir();
    std::string empty = dir + "/empty.vl", unfinished = dir + "/unfinished.vl";
    lumox_test::writeFile(unfinished, "the file saved before");
    {
        TestRecFile e, u;
        ASSERT_EQ(e.open(empty.c_str(), qipVLRecFile::CreateNew, 0), 0);
        EXPECT_EQ(e.newRecord(1, "x", 0), 0);
        EXPECT_EQ(e.newRecord(1, nullptr, 5), 0);
        EXPECT_EQ(e.close(), 0);
        ASSERT_EQ(u.open(unfinished.c_str(), qipVLRecFile::CreateNew, 0), 0);
        ASSERT_EQ(u.newRecord(3, "one", 3), 0);
        ASSERT_EQ(u.newRecord(4, "four", 4), 0);
    }
    EXPECT_EQ(lumox_test::readFile(empty).size(), 64u);
    TestRecFile e;
    EXPECT_EQ(loadFile(empty, e, 0), 0) << "a file of no records loads as such";

    // Destroyed before close(), the save leaves the old file and no other.
    EXPECT_EQ(lumox_test::readFile(unfinished), "the file saved before");
    EXPECT_EQ(namesIn(dir), "empty.vl unfinished.vl ");
}

TEST(qipVLRecFile, badCallsAndErrorTexts)
{
    TestRecFile f;
    EXPECT_EQ(f.open(nullptr, qipVLRecFile::ReadOnly, 0), qipVLRecFile::badParameter);
    EXPECT_EQ(f.open("x", static_cast<qipVLRecFile::Mode>(7), 0), qipVLRecFile::badParameter);
    EXPECT_EQ(f.open(tempFile("missing.vl").c_str(), qipVLRecFile::ReadOnly, 0), qipVLRecFile::fopenFailed);
    EXPECT_EQ(f.open("/nonexistent-dir/x.vl", qipVLRecFile::CreateNew, 0), qipVLRecFile::fopenFailed);
    EXPECT_EQ(f.load(), qipVLRecFile::fileShutDown);

    const char* texts[] = {"No error", "fopen failed", "fread failed", "fwrite failed",
                           "create failed", "bad magic number", "bad version number", "out of memory",
                           "double-freing entry", "file corrupt", "file shut down", "bad parameter"};
    for (int i = 0; i < 12; ++i)
        EXPECT_STREQ(qipVLRecFile::error(-i), texts[i]);
    EXPECT_STREQ(qipVLRecFile::error(5), "Unknown error");
    EXPECT_STREQ(qipVLRecFile::error(-12), "Unknown error");
}

// Every truncation of a good file fails cleanly with "file corrupt" and keeps
// the records that lie wholly before the cut.
TEST(qipVLRecFile, truncatedFilesAreCorrupt)
{
    std::string whole = lumox_test::readFile(writeThree("whole.vl"));
    std::string path = tempFile("cut.vl");
    for (size_t len = 0; len < whole.size(); ++len) {
        SCOPED_TRACE(len);
        lumox_test::writeFile(path, whole.substr(0, len));
        TestRecFile f;
        EXPECT_EQ(loadFile(path, f), qipVLRecFile::corruptFile);
        size_t complete = len >= 184 ? 3 : len >= 138 ? 2 : len >= 102 ? 1 : 0;
        EXPECT_EQ(f._recs.size(), complete);
    }
}

TEST(qipVLRecFile, damagedChainsAndSizesAreCorrupt)
{
    std::string whole = lumox_test::readFile(writeThree("damage.vl"));
    std::string path = tempFile("damaged.vl");
    struct Damage {
        size_t at;
        uint32_t value;
        size_t recordsBefore;
    } cases[] = {
        {102 + 4, 0xfffffff0u, 1},  // huge size in the second record
        {102 + 4, 21, 1},           // size one byte beyond the next record's start
        {138, 76, 2},               // last record links back to the first
        {76, 80, 0},                // first record links into itself
        {102, 0x7fffffffu, 2},      // link far beyond the end of the file
        {16, 70, 0},                // first offset inside the user header
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.at);
        std::string bytes = whole;
        putBe32(bytes, d.at, d.value);
        lumox_test::writeFile(path, bytes);
        TestRecFile f;
        EXPECT_EQ(loadFile(path, f), qipVLRecFile::corruptFile);
        EXPECT_EQ(f._recs.size(), d.recordsBefore);
    }
}

TEST(qipVLRecFile, aFailedWriteLeavesTheOldFileAndSaysWhy)
{
    TestRecFile full;
    EXPECT_EQ(full.open("/dev/full", qipVLRecFile::CreateNew, 0), qipVLRecFile::fwriteFailed);
    EXPECT_STREQ(full.reason(qipVLRecFile::fwriteFailed), strerror(ENOSPC));

    // A child with a 200-byte file size limit: the third 66-byte record
    // cannot be written, and neither can the file then be closed.
    std::string dir = privateDir();
    std::string path = dir + "/limited.vl";
    lumox_test::writeFile(path, "the file saved before");
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl = {200, 200};
        setrlimit(RLIMIT_FSIZE, &rl);
        TestRecFile f;
        std::string data(50, 'd');
        int bad = f.open(path.c_str(), qipVLRecFile::CreateNew, 0) != 0
                  || f.newRecord(1, data.c_str(), 50) != 0 || f.newRecord(2, data.c_str(), 50) != 0
                  || f.newRecord(3, data.c_str(), 50) != qipVLRecFile::fwriteFailed
                  || f.newRecord(4, "x", 1) != qipVLRecFile::fwriteFailed
                  || f.close() != qipVLRecFile::fwriteFailed || strcmp(f.reason(-3), strerror(EFBIG)) != 0;
        _exit(bad);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(lumox_test::readFile(path), "the file saved before");
    EXPECT_EQ(namesIn(dir), "limited.vl ");
}
