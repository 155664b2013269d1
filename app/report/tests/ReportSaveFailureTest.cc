// A save that cannot finish, because its process is killed or the disk is
// full, leaves the report file saved before as it was.

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <set>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionList.h"
#include "tests/support/TestSupport.h"

namespace {

// A directory of this test alone, so that what a save leaves in it shows.
std::string privateDir(const char* name)
{
    std::string templ = lumox_test::scratchDir("rpt-failure") + "/" + name + "-XXXXXX";
    return mkdtemp(&templ[0]) ? templ : std::string();
}

std::set<std::string> namesIn(const std::string& dir)
{
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// A runtime session of `n` messages, signed on to `list`.
void addSession(SessionList& list, const std::string& prog, int n)
{
    const long token = list.nextClientNumber();
    ConxnMsg* signOn = new ConxnMsg(token);
    std::string h = "<Runtime><4100><" + prog + "><1000><hostA><10:00:00>";
    signOn->extract(&h[0]);
    LmxClient* c = new LmxClient(signOn);
    list.clientSignOn(c);
    for (int k = 0; k < n; ++k) {
        ErrorMsg* m = new ErrorMsg(token);
        std::string mh = "<Runtime><hostA><d><10:00:01><4100><0><LEAK_" + std::to_string(k % 50) + "><src/f.c><" +
                         std::to_string(k) + ">";
        m->extract(&mh[0]);
        std::string body = "leak " + std::to_string(k) + " in " + prog + "\n";
        m->body(body.c_str(), static_cast<int>(body.size() + 1));
        c->append(m);
    }
    list.clientSignOff(token);
}

int save(const std::string& path, const SessionList& list, std::string* reason = nullptr)
{
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::CreateNew);
    ListIterator<NetClient*> i(list.sessions());
    if (r == 0)
        r = f.save(i);
    if (r == 0)
        r = f.close();
    if (reason)
        *reason = f.reason(r);
    return r;
}

// The number of messages the file loads, or its negative load result.
int loadedMessages(const std::string& path)
{
    SessionList list;
    SessionSink::install(&list);
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::ReadOnly);
    if (r == 0)
        r = f.load();
    SessionSink::install(nullptr);
    int n = 0;
    for (ListIterator<NetClient*> i(list.sessions()); i.valid(); i.next())
        n += i.current()->nMessages();
    return r < 0 ? r : n;
}

}  // namespace

// A child saves 200,000 messages over an older file and is killed at a
// random moment of it, 50 times: the file is the old one or the new one,
// byte for byte, whatever the moment.
TEST(ReportSaveFailure, aSaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOne)
{
    const std::string dir = privateDir("killed");
    const std::string path = dir + "/run.rpt";
    SessionList small, big;
    addSession(small, "old", 3);
    addSession(big, "new", 200000);
    ASSERT_EQ(save(path, small), 0);
    const std::string oldBytes = lumox_test::readFile(path);
    ASSERT_EQ(loadedMessages(path), 3);
    // A child's save, not killed, gives the new file and how long a save
    // takes in a child (longer than here: its first writes copy pages).
    auto childSave = [&] {
        pid_t pid = fork();
        if (pid == 0)
            _exit(save(path, big) == 0 ? 0 : 1);
        return pid;
    };
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    ASSERT_EQ(waitpid(childSave(), &status, 0) > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const std::string newBytes = lumox_test::readFile(path);
    ASSERT_EQ(loadedMessages(path), 200000);

    std::mt19937 rng(20240611);
    int kept = 0, replaced = 0;
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE(run);
        lumox_test::writeFile(path, oldBytes);
        pid_t pid = childSave();
        ASSERT_GE(pid, 0);
        // Anywhere from before the file is opened to after the rename.
        usleep(static_cast<useconds_t>(rng() % (saveUs.count() * 5 / 4 + 1)));
        kill(pid, SIGKILL);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        const std::string now = lumox_test::readFile(path);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << now.size() << " bytes";
        (now == oldBytes ? kept : replaced) += 1;
        // A killed save leaves its unfinished file behind: it goes here, so
        // that fifty of them do not fill the disk.
        for (const std::string& name : namesIn(dir))
            if (name != "run.rpt")
                unlink((dir + "/" + name).c_str());
    }
    RecordProperty("oldFileKept", kept);
    RecordProperty("newFileInPlace", replaced);
}

// On a tmpfs of 1 MiB, a save of 2 MiB fails with the system's reason and
// leaves the file saved before, and nothing else, in the directory.
TEST(ReportSaveFailure, aFullDiskLeavesTheOldFileAndSaysWhy)
{
    const std::string dir = privateDir("full");
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted on " << dir << " (" << strerror(errno)
                     << "); the test needs root, as in CI";
    struct Unmount {
        std::string dir;
        ~Unmount() { umount2(dir.c_str(), MNT_DETACH); }
    } unmount{dir};

    const std::string path = dir + "/run.rpt";
    SessionList small, big;
    addSession(small, "old", 3);
    addSession(big, "new", 30000);
    ASSERT_EQ(save(path, small), 0);
    const std::string oldBytes = lumox_test::readFile(path);

    std::string reason;
    EXPECT_EQ(save(path, big, &reason), qipVLRecFile::fwriteFailed);
    EXPECT_EQ(reason, "No space left on device");
    EXPECT_EQ(lumox_test::readFile(path), oldBytes);
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"run.rpt"});
    EXPECT_EQ(loadedMessages(path), 3);
}
