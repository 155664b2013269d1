// Round trips of generated report files: sessions of both kinds, under any
// sign-on type, with random fields, bodies and analysed commands, saved and
// loaded back as they were, alone and after the sessions of the fuzzer's
// seed files.

#include <gtest/gtest.h>

#include <dirent.h>

#include <random>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/records/ZxErrHdr.h"
#include "app/records/ZxErrMsg.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/LmxClient.h"
#include "app/sessions/SessionList.h"
#include "app/sessions/ZxClient.h"
#include "app/testsupport/ZxTestEnv.h"
#include "tests/support/TestSupport.h"

namespace {

// Random texts for the fields and bodies of generated sessions.
struct Gen {
    std::mt19937 rng;
    explicit Gen(unsigned seed) : rng(seed) {}

    int below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    // Any bytes but NUL and the '>' that ends a bracket.
    std::string field(int maxLen)
    {
        std::string s(below(maxLen + 1), 'x');
        for (char& c : s)
            do
                c = static_cast<char>(1 + below(255));
            while (c == '>');
        return s;
    }
    std::string body() { return below(4) == 0 ? std::string() : field(300) + "\n" + field(60) + ">"; }
    std::string word() { return std::string(1, 'a' + below(26)) + std::to_string(rng() % 100000); }
    std::string type()
    {
        const char* kinds[] = {"Runtime", "Zentrix", "Torvane"};
        return below(4) == 3 ? field(12) : kinds[below(3)];
    }
    std::string signOn(const std::string& type)
    {
        return "<" + type + "><" + field(8) + "><" + field(40) + "><" + field(6) + "><" + field(20) + "><" +
               field(12) + ">";
    }
    std::string messageHeader()
    {
        std::string h = "<" + word() + ">";
        for (int k = 0; k < 8; ++k)
            h += "<" + field(k == 7 ? 60 : 16) + ">";
        return h;
    }
    std::string violationHeader()
    {
        return "<Zentrix><" + field(10) + "><" + field(10) + "><" + field(8) + "><" + field(6) + "><0><EffC++" +
               std::to_string(below(60)) + "><" + field(50) + "><" + std::to_string(below(900)) + "><" +
               field(30) + "><" + std::to_string(below(7)) + "><" + field(40) + "><" + field(20) + ">";
    }
    std::string packedWords(int n, const char* prefix)
    {
        std::string s;
        for (int k = 0; k < n; ++k)
            s += prefix + word() + std::string(1, '\0');
        return s;
    }
};

// A runtime session (LmxClient) or a static analysis (ZxClient) of a random
// sign-on type, signed on to `list`, which owns it.
void addSession(SessionList& list, Gen& g, bool staticAnalysis, const std::string& projectDir)
{
    const long token = list.nextClientNumber();
    ConxnMsg* signOn = new ConxnMsg(token);
    std::string header = g.signOn(g.type());
    signOn->extract(&header[0]);
    NetClient* c;
    if (staticAnalysis) {
        ZxClient* z = new ZxClient(signOn);
        if (int argc = g.below(5)) {
            std::string args = g.packedWords(argc, "");
            z->setCmdline(argc, &args[0], &args[0] + args.size());
        }
        if (int envc = g.below(4)) {
            std::string env = g.packedWords(envc, "V=");
            z->setEnviron(envc, &env[0], &env[0] + env.size());
        }
        std::string cwd = g.below(2) ? projectDir : "/nonexistent/" + g.word();
        if (g.below(3))
            z->setCwd(&cwd[0]);
        c = z;
    } else {
        c = new LmxClient(signOn);
    }
    list.clientSignOn(c);
    for (int n = g.below(8); n > 0; --n) {
        std::string body = g.body();
        if (staticAnalysis) {
            ZxErrHdr h(token);
            h.set(g.violationHeader().c_str(), body.c_str(), static_cast<int>(body.size() + 1));
            c->append(h.message());
        } else {
            ErrorMsg* m = new ErrorMsg(token);
            std::string mh = g.messageHeader();
            m->extract(&mh[0]);
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

std::string bytes(const char* data, int size) { return data && size > 0 ? std::string(data, size) : std::string(); }

// All a save must keep of the sessions, as one text.
std::string describe(const SessionList& list)
{
    std::string out;
    for (ListIterator<NetClient*> i(list.sessions()); i.valid(); i.next()) {
        NetClient* c = i.current();
        out += std::string("session ") + c->clientTag() + " " + taken(c->_signature->inject()) + "\n";
        if (const qipExec* e = c->analysedCommand())
            out += "  command " + std::to_string(e->argc()) + " [" + bytes(e->cmdlineData(), e->cmdlineDataSize()) +
                   "] " + std::to_string(e->environCount()) + " [" + bytes(e->environData(), e->environDataSize()) +
                   "] [" + (e->workingDirectory() ? e->workingDirectory() : "(none)") + "]\n";
        for (ListIterator<ErrorMsg*> m(c->_messages); m.valid(); m.next())
            out += "  message " + taken(m.current()->inject()) + (m.current()->_suppressed ? " suppressed" : "") +
                   " [" + m.current()->originalBody() + "] [" + m.current()->_body.text() + "]\n";
    }
    return out;
}

int save(const std::string& path, const SessionList& list)
{
    LmxRptFile f;
    int r = f.open(path.c_str(), qipVLRecFile::CreateNew);
    ListIterator<NetClient*> i(list.sessions());
    if (r == 0)
        r = f.save(i);
    return r != 0 ? r : f.close();
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
    const std::string first = dir + "/first.rpt", second = dir + "/second.rpt";
    ASSERT_EQ(save(first, original), 0);
    SessionList back;
    ASSERT_EQ(load(first, back), original.sessions().length());
    EXPECT_EQ(describe(back), describe(original));
    ASSERT_EQ(save(second, back), 0);
    EXPECT_EQ(lumox_test::readFile(second), lumox_test::readFile(first));
}

}  // namespace

TEST(ReportRoundTrip, generatedSessionsOfBothKindsUnderAnySignOnTypeComeBackAsSaved)
{
    ZxScratch s("rpt-roundtrip");
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Gen g(seed);
        SessionList original;
        for (int n = 1 + g.below(5); n > 0; --n)
            addSession(original, g, g.below(2) == 0, s.project);
        expectRoundTrip(original, s.root);
        if (HasFatalFailure())
            return;
    }
}

TEST(ReportRoundTrip, theFuzzerSeedsWithGeneratedSessionsAfterThemComeBackAsSaved)
{
    ZxScratch s("rpt-seeds");
    const std::string seeds = std::string(LUMOX_SOURCE_DIR) + "/fuzz/corpus/ReportFileFuzzer";
    DIR* d = opendir(seeds.c_str());
    ASSERT_NE(d, nullptr) << seeds;
    int files = 0;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        SCOPED_TRACE(e->d_name);
        ++files;
        SessionList original;
        ASSERT_GT(load(seeds + "/" + e->d_name, original), 0);
        Gen g(static_cast<unsigned>(files));
        addSession(original, g, false, s.project);
        addSession(original, g, true, s.project);
        expectRoundTrip(original, s.root);
    }
    closedir(d);
    EXPECT_GE(files, 2);
}
