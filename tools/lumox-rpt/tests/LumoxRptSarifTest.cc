#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/report/LmxRptFile.h"
#include "app/sessions/ZxClient.h"
#include "app/records/ZxErrMsg.h"
#include "qip/Monitors/qipBigEndian.h"
#include "tests/support/TestSupport.h"
#include "tools/lumox-rpt/tests/RptTool.h"

using nlohmann::json;

namespace {

ConxnMsg* signOn(long token, std::string header)
{
    ConxnMsg* s = new ConxnMsg(token);
    s->extract(&header[0]);
    return s;
}

// A runtime session of "one": an overflow in a file named with blanks whose
// body holds two traces and odd texts, a leak at an unknown place with bytes
// that are not UTF-8, its summary, and a second overflow with an empty body.
LmxClient* runtimeSession()
{
    LmxClient* c = new LmxClient(signOn(11, "<Runtime><11><one><1000><hostA><10:00:00>"));
    const char* messages[][2] = {
        {"<AddressSanitizer><hostA><Mon Jan 5><10:00:01><11><7><heap-buffer-overflow></src/dir with blanks/a b.c><12>",
         "READ of size 4 \"quoted\" back\\slash\n"
         "<BEGINSTACKTRACE>\n<src/a b.c:12>    #0 f\n<src/main.c:30>    #1 main\n    #2 _start\n<ENDSTACKTRACE>\n"
         "freed by thread T0 here:\n"
         "<BEGINSTACKTRACE>\n<src/a b.c:9>    #0 free\n<ENDSTACKTRACE>"},
        {"<AddressSanitizer><hostA><Mon Jan 5><10:00:02><11><0><LEAK_direct><unknown><unknown>",
         "\nLeak of 8 bytes \xff\xfe here\n<BEGINSTACKTRACE>\n    #0 malloc\n<src/leak.c:4>    #1 grow\n<ENDSTACKTRACE>"},
        {"<LeakSanitizer><hostA><Mon Jan 5><10:00:02><11><0><LEAK_summary><unknown><unknown>",
         "SUMMARY: 8 byte(s) leaked in 1 allocation(s)."},
        {"<AddressSanitizer><hostA><Mon Jan 5><10:00:03><11><0><heap-buffer-overflow><src/x.c><5>", ""},
    };
    for (auto& m : messages) {
        ErrorMsg* e = new ErrorMsg(11);
        std::string header = m[0];
        e->extract(&header[0]);
        e->body(m[1], static_cast<int>(strlen(m[1]) + 1));
        c->append(e);
    }
    c->disconnect();
    return c;
}

// A static analysis with violations of severity 1 (which the built-in set
// suppresses), 3 and 5.
ZxClient* analysisSession(const std::string& cwd)
{
    ZxClient* c = new ZxClient(signOn(12, "<Zentrix><4242><shapes.cc><0><hostZ><12:00:00>"));
    std::string args = std::string("lumox-zx\0g++\0-c\0shapes.cc\0", 26);
    c->setCmdline(4, &args[0], &args[0] + args.size());
    std::string dir = cwd;
    c->setCwd(&dir[0]);
    for (int severity : {1, 3, 5}) {
        ZxErrMsg* m = new ZxErrMsg(12);
        std::string header = "<Zentrix><hostZ><d><12:00:0" + std::to_string(severity) + "><4242><0><EffC++" +
                             std::to_string(10 + severity) + "></p/shapes.cc><" + std::to_string(severity) +
                             "><Label><" + std::to_string(severity) + "><Rule title><Effective C++>";
        m->extract(&header[0]);
        m->setBody("shapes.cc:9:7: warning: 'class Label' has pointer data members\n");
        c->append(m);
    }
    c->disconnect();
    return c;
}

// The SARIF output is checked against the published schema.
std::string schemaErrors(const std::string& sarifPath) { return lumox_test::jsonSchemaErrors(SARIF_SCHEMA, sarifPath); }

}  // namespace

TEST(LumoxRptSarif, sessionsBecomeRunsWithRulesLocationsTracesAndSuppressionsThatTheSchemaAccepts)
{
    // Empty home and project directories: no option file suppresses anything.
    std::string name = "lumox-rpt/sarif-" + std::to_string(getpid());
    lumox_test::scratchDir("lumox-rpt");
    std::string root = lumox_test::scratchDir(name);
    std::string home = lumox_test::scratchDir(name + "/home"), project = lumox_test::scratchDir(name + "/project");
    lumox_test::ScopedEnv homeEnv("HOME", home.c_str()), installEnv("QUENTAR", home.c_str());

    std::string path = root + "/sessions.rpt";
    LmxClient* runtime = runtimeSession();
    ZxClient* analysis = analysisSession(project);
    {
        LmxRptFile f;
        ASSERT_EQ(f.open(path.c_str(), qipVLRecFile::CreateNew), 0);
        ASSERT_EQ(f.save(runtime), 0);
        ASSERT_EQ(f.save(analysis), 0);
        ASSERT_EQ(f.close(), 0);
    }
    delete runtime;
    delete analysis;

    ToolRun r = runRpt({"sarif", path}, {"HOME=" + home, "QUENTAR=" + home});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    json log = json::parse(r.out);
    EXPECT_EQ(log["version"], "2.1.0");
    ASSERT_EQ(log["runs"].size(), 2u);

    // The runtime session: the checker drives it, each category is a rule once.
    const json& run = log["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "AddressSanitizer");
    EXPECT_EQ(run["tool"]["driver"]["rules"], json::parse(R"([{"id":"heap-buffer-overflow"},{"id":"LEAK_direct"}])"));
    EXPECT_EQ(run["conversion"]["tool"]["driver"]["name"], "lumox");
    EXPECT_EQ(run["properties"]["signOn"], "Runtime: Executing \"one\" on hostA, pid=11");
    EXPECT_EQ(run["invocations"][0]["processId"], 11);
    ASSERT_EQ(run["results"].size(), 3u);

    const json& overflow = run["results"][0];
    EXPECT_EQ(overflow["ruleId"], "heap-buffer-overflow");
    EXPECT_EQ(overflow["level"], "error");
    EXPECT_EQ(overflow["message"]["text"], "READ of size 4 \"quoted\" back\\slash");
    EXPECT_EQ(overflow["locations"][0]["physicalLocation"],
              json::parse(R"({"artifactLocation":{"uri":"file:///src/dir%20with%20blanks/a%20b.c"},
                              "region":{"startLine":12}})"));
    EXPECT_EQ(overflow["properties"]["thread"], "7");
    EXPECT_EQ(overflow["properties"]["pid"], "11");
    EXPECT_EQ(overflow["properties"]["time"], "10:00:01");
    EXPECT_EQ(overflow["properties"]["body"], "READ of size 4 \"quoted\" back\\slash\nfreed by thread T0 here:");
    ASSERT_EQ(overflow["codeFlows"].size(), 2u);
    const json& frames = overflow["codeFlows"][0]["threadFlows"][0]["locations"];
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0]["location"]["physicalLocation"]["artifactLocation"]["uri"], "src/a%20b.c");
    EXPECT_EQ(frames[1]["location"]["physicalLocation"]["region"]["startLine"], 30);
    EXPECT_EQ(frames[1]["location"]["message"]["text"], "#1 main");
    EXPECT_EQ(frames[2]["location"], json::parse(R"({"message":{"text":"#2 _start"}})")) << "no location";
    EXPECT_EQ(overflow["codeFlows"][1]["message"]["text"], "freed by thread T0 here:");

    const json& leak = run["results"][1];
    EXPECT_EQ(leak["locations"][0]["physicalLocation"],
              json::parse(R"({"artifactLocation":{"uri":"src/leak.c"},"region":{"startLine":4}})"))
        << "the file is unknown: the first frame with one gives the place";
    // The summary is a note on the run, not a result without a place.
    EXPECT_EQ(run["invocations"][0]["toolExecutionNotifications"],
              json::parse(R"([{"descriptor":{"id":"LEAK_summary"},"level":"note",
                               "message":{"text":"SUMMARY: 8 byte(s) leaked in 1 allocation(s)."},
                               "properties":{"body":"SUMMARY: 8 byte(s) leaked in 1 allocation(s)."}}])"));
    EXPECT_EQ(leak["message"]["text"], "Leak of 8 bytes \xEF\xBF\xBD\xEF\xBF\xBD here") << "bytes not UTF-8 replaced";
    const json& bare = run["results"][2];
    EXPECT_EQ(bare["ruleIndex"], 0);
    EXPECT_EQ(bare["message"]["text"], "heap-buffer-overflow") << "an empty body says its category";
    EXPECT_EQ(bare["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "src/x.c");

    // The static analysis: severity picks the level, the built-in set's
    // suppression is carried, the analysed command is the invocation.
    const json& zx = log["runs"][1];
    EXPECT_EQ(zx["tool"]["driver"]["name"], "Zentrix");
    EXPECT_EQ(zx["tool"]["driver"]["rules"][0]["shortDescription"]["text"], "Rule title");
    EXPECT_EQ(zx["invocations"][0]["commandLine"], "lumox-zx g++ -c shapes.cc");
    ASSERT_EQ(zx["results"].size(), 3u);
    std::vector<std::string> levels, rules;
    for (const json& v : zx["results"]) {
        levels.push_back(v["level"]);
        rules.push_back(v["ruleId"]);
    }
    EXPECT_EQ(levels, (std::vector<std::string>{"note", "warning", "error"}));
    EXPECT_EQ(rules, (std::vector<std::string>{"EffC++11", "EffC++13", "EffC++15"}));
    EXPECT_EQ(zx["results"][0]["suppressions"], json::parse(R"([{"kind":"external"}])"));
    EXPECT_FALSE(zx["results"][1].contains("suppressions"));
    EXPECT_EQ(zx["results"][2]["message"]["text"], "shapes.cc:9:7: warning: 'class Label' has pointer data members");
    EXPECT_EQ(zx["results"][2]["properties"]["severity"], 5);

    std::string out = root + "/sessions.sarif";
    lumox_test::writeFile(out, r.out);
    EXPECT_EQ(schemaErrors(out), "");
}

TEST(LumoxRptSarif, badFilesGiveTheErrorsOfListAndADamagedOneTheSessionsBeforeTheDamage)
{
    std::string text = rptTempFile("sarif-notes.txt", "just some notes\n");
    ToolRun r = runRpt({"sarif", text});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lumox-rpt: " + text + ": not a report file (bad magic number)\n");

    // Two sessions, cut inside the second.
    std::string path = rptTempFile("sarif-good.rpt");
    {
        LmxClient* a = new LmxClient(signOn(21, "<Runtime><21><one><1000><hostA><10:00:00>"));
        LmxClient* b = new LmxClient(signOn(22, "<Runtime><22><two><1000><hostA><10:00:00>"));
        LmxRptFile f;
        ASSERT_EQ(f.open(path.c_str(), qipVLRecFile::CreateNew), 0);
        ASSERT_EQ(f.save(a), 0);
        ASSERT_EQ(f.save(b), 0);
        ASSERT_EQ(f.close(), 0);
        delete a;
        delete b;
    }
    std::string good = lumox_test::readFile(path);
    uint32_t second = qipGetBE32(reinterpret_cast<const unsigned char*>(good.data()) + 128);
    std::string cut = rptTempFile("sarif-cut.rpt", good.substr(0, second + 20));
    r = runRpt({"sarif", cut});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "lumox-rpt: " + cut + ": file corrupt\n");
    json log = json::parse(r.out);
    ASSERT_EQ(log["runs"].size(), 1u);
    EXPECT_EQ(log["runs"][0]["tool"]["driver"]["name"], "Runtime") << "a session without messages";
    EXPECT_EQ(log["runs"][0]["results"], json::array());
}
