// Report files over generated sessions: both kinds under any sign-on type,
// with random fields, bodies and commands, load back as saved; a save that
// cannot finish (killed, or out of disk) leaves the file saved before.

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ZxErrHdr.h"
#include "app/records/ZxErrMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionList.h"
#include "app/sessions/ZxClient.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

namespace {

std::mt19937 rng;

int below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

// Up to `max` bytes of anything but NUL and the '>' that ends a bracket.
std::string field(int max)
{
    std::string s(below(max + 1), 'x');
    for (char& c : s)
        c = static_cast<char>(1 + below(255));
    std::replace(s.begin(), s.end(), '>', '<');
    return s;
}

std::string fields(int n, int max)
{
    std::string s;
    while (n-- > 0)
        s += "<" + field(max) + ">";
    return s;
}

std::string packed(int n, const char* prefix)
{
    std::string s;
    while (n-- > 0)
        s += prefix + std::to_string(rng()) + std::string(1, '\0');
    return s;
}

// A runtime session (LmxClient) or a static analysis (ZxClient) of `n`
// messages under a random sign-on type, signed on to `list`, which owns it.
void addSession(SessionList& list, bool staticAnalysis, int n, const std::string& cwd)
{
    const long token = list.nextClientNumber();
    const char* types[] = {"Runtime", "Zentrix", "Torvane"};
    std::string header = "<" + (below(4) ? std::string(types[below(3)]) : field(12)) + ">" + fields(5, 30);
    ConxnMsg* signOn = new ConxnMsg(token);
    signOn->extract(&header[0]);
    ZxClient* z = staticAnalysis ? new ZxClient(signOn) : nullptr;
    NetClient* c = z ? static_cast<NetClient*>(z) : new LmxClient(signOn);
    if (z) {
        int argc = below(5), envc = below(4);
        std::string args = packed(argc, "a"), env = packed(envc, "V="), dir = cwd;
        z->setCmdline(argc, &args[0], &args[0] + args.size());
        z->setEnviron(envc, &env[0], &env[0] + env.size());
        if (below(3))
            z->setCwd(&dir[0]);
    }
    list.clientSignOn(c);
    for (int k = 0; k < n; ++k) {
        std::string body = below(4) ? field(300) + "\n>" : "";
        if (z) {
            std::string h = "<Zentrix>" + fields(4, 10) + "<0><EffC++" + std::to_string(below(60)) + ">" +
                            fields(2, 50) + "<" + field(30) + "><" + std::to_string(below(7)) + ">" + fields(2, 40);
            ZxErrHdr v(token);
            v.set(h.c_str(), body.c_str(), static_cast<int>(body.size() + 1));
            c->append(v.message());
        } else {
            std::string h = "<Runtime>" + fields(8, 20);
            ErrorMsg* m = new ErrorMsg(token);
            m->extract(&h[0]);
            m->body(body.c_str(), static_cast<int>(body.size() + 1));
            c->append(m);
        }
    }
    list.clientSignOff(token);
}

std::string taken(char* text)
{
    std::string s = text ? text : "(null)";
    free(text);
    return s;
}

std::string bytes(const char* data, int size) { return data && size > 0 ? std::string(data, size) : ""; }

// All a save must keep of the sessions, as one text.
std::string describe(const SessionList& list)
{
    std::string out;
    for (ListIterator<NetClient*> i(list.sessions()); i.valid(); i.next()) {
        NetClient* c = i.current();
        out += std::string(c->clientTag()) + " " + taken(c->_signature->inject()) + "\n";
        if (const qipExec* e = c->analysedCommand())
            out += std::to_string(e->argc()) + bytes(e->cmdlineData(), e->cmdlineDataSize()) + "|" +
                   std::to_string(e->environCount()) + bytes(e->environData(), e->environDataSize()) + "|" +
                   (e->workingDirectory() ? e->workingDirectory() : "(none)") + "\n";
        for (ListIterator<ErrorMsg*> m(c->_messages); m.valid(); m.next())
            out += "  " + taken(m.current()->inject()) + (m.current()->_suppressed ? " suppressed [" : " [") +
                   m.current()->originalBody() + "] [" + m.current()->_body.text() + "]\n";
    }
    return out;
}

int save(const std::string& path, const SessionList& list, std::string* reason = nullptr)
{
    LmxRptFile f;
    ListIterator<NetClient*> i(list.sessions());
    int r = f.open(path.c_str(), qipVLRecFile::CreateNew);
    if (r == 0)
        r = f.save(i);
    if (r == 0)
        r = f.close();
    if (reason)
        *reason = f.reason(r);
    return r;
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

// Saves `original`, loads it back and saves that again: the same sessions,
// and the same bytes.
void expectRoundTrip(const SessionList& original, const std::string& dir)
{
    ASSERT_EQ(save(dir + "/first.rpt", original), 0);
    SessionList back;
    ASSERT_EQ(load(dir + "/first.rpt", back), original.sessions().length());
    EXPECT_EQ(describe(back), describe(original));
    ASSERT_EQ(save(dir + "/second.rpt", back), 0);
    EXPECT_EQ(lumox_test::readFile(dir + "/second.rpt"), lumox_test::readFile(dir + "/first.rpt"));
}

// A directory of this test alone, so that what a save leaves in it shows.
std::string privateDir(const char* name)
{
    std::string templ = lumox_test::scratchDir("rpt-save") + "/" + name + "-XXXXXX";
    return mkdtemp(&templ[0]) ? templ : std::string();
}

// Removes every file of `dir` but `keep`; how many there were.
int removeAllBut(const std::string& dir, const std::string& keep)
{
    int removed = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != ".." && name != keep)
                removed += unlink((dir + "/" + name).c_str()) == 0;
        }
        closedir(d);
    }
    return removed;
}

}  // namespace

TEST(ReportSave, generatedSessionsOfBothKindsUnderAnySignOnTypeComeBackAsSaved)
{
    ZxScratch s("rpt-roundtrip");
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        rng.seed(seed);
        SessionList original;
        for (int n = 1 + below(5); n > 0; --n)
            addSession(original, below(2), below(8), below(2) ? s.project : "/nonexistent");
        expectRoundTrip(original, s.root);
        if (HasFatalFailure())
            return;
    }
}

TEST(ReportSave, theFuzzerSeedsWithGeneratedSessionsAfterThemComeBackAsSaved)
{
    ZxScratch s("rpt-seeds");
    const std::string seeds = std::string(LUMOX_SOURCE_DIR) + "/fuzz/corpus/ReportFileFuzzer/";
    for (const char* name : {"runtime-sessions.rpt", "static-analysis-session.rpt"}) {
        SCOPED_TRACE(name);
        SessionList original;
        ASSERT_GT(load(seeds + name, original), 0);
        addSession(original, false, 3, s.project);
        addSession(original, true, 3, s.project);
        expectRoundTrip(original, s.root);
    }
}

// A child saves 200,000 messages over an older file and is killed at a
// random moment of it, 50 times: the file is the old one or the new one,
// byte for byte, whatever the moment.
TEST(ReportSave, aSaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOne)
{
    const std::string dir = privateDir("killed"), path = dir + "/run.rpt";
    SessionList small, big;
    rng.seed(7);
    addSession(small, false, 3, "");
    addSession(big, false, 200000, "");
    ASSERT_EQ(save(path, small), 0);
    const std::string oldBytes = lumox_test::readFile(path);
    SessionList oldBack;
    ASSERT_EQ(load(path, oldBack), 1);
    auto childSave = [&] {
        pid_t pid = fork();
        if (pid == 0)
            _exit(save(path, big) == 0 ? 0 : 1);
        return pid;
    };
    // A save in a child, whole: the new file, and how long a child takes
    // (longer than here: its first writes copy pages).
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    ASSERT_GT(waitpid(childSave(), &status, 0), 0);
    ASSERT_EQ(status, 0);
    const long saveUs =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    const std::string newBytes = lumox_test::readFile(path);
    {
        SessionList newBack;
        ASSERT_EQ(load(path, newBack), 1);
        ASSERT_EQ(newBack.sessions().first()->nMessages(), 200000);
    }

    int replaced = 0;
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE(run);
        lumox_test::writeFile(path, oldBytes);
        pid_t pid = childSave();
        ASSERT_GT(pid, 0);
        // Anywhere from before the file is opened to after the rename.
        usleep(static_cast<useconds_t>(rng() % (saveUs * 5 / 4 + 1)));
        kill(pid, SIGKILL);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        const std::string now = lumox_test::readFile(path);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << now.size() << " bytes";
        replaced += now == newBytes;
        // A killed save leaves its unfinished file: fifty would fill the disk.
        removeAllBut(dir, "run.rpt");
    }
    RecordProperty("newFileInPlace", replaced);
}

// On a tmpfs of 1 MiB, a save of 2 MiB fails with the system's reason and
// leaves the file saved before, and nothing else.
TEST(ReportSave, aFullDiskLeavesTheOldFileAndSaysWhy)
{
    const std::string dir = privateDir("full"), path = dir + "/run.rpt";
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted on " << dir << " (" << strerror(errno) << "): it needs root, as in CI";
    struct Unmount {
        std::string dir;
        ~Unmount() { umount2(dir.c_str(), MNT_DETACH); }
    } unmount{dir};
    SessionList small, big;
    rng.seed(8);
    addSession(small, false, 3, "");
    addSession(big, false, 12000, "");
    ASSERT_EQ(save(path, small), 0);
    const std::string oldBytes = lumox_test::readFile(path);

    std::string reason;
    EXPECT_EQ(save(path, big, &reason), qipVLRecFile::fwriteFailed);
    EXPECT_EQ(reason, "No space left on device");
    EXPECT_EQ(lumox_test::readFile(path), oldBytes);
    EXPECT_EQ(removeAllBut(dir, "run.rpt"), 0) << "the new file is gone";
    SessionList back;
    EXPECT_EQ(load(path, back), 1);
}
