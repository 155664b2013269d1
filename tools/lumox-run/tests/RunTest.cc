// The real lumox-run binary on the example programs, built by the suite
// with gcc and clang, without a collector: what the terminal shows, the
// report file it writes, and its exit status.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

using namespace lumox_test;

namespace {

const std::string examples = std::string(LUMOX_SOURCE_DIR) + "/examples/checkers/";

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1))
        ++n;
    return n;
}

// lumox-run with `args` in the examples' build directory, where no
// collector listens; its exit status.
// The programs start with none of the runtime options the suite itself may
// run under, as a user's would; `env` adds to that.
int run(Child& c, const std::vector<std::string>& args, const std::vector<std::string>& env = {})
{
    std::vector<std::string> argv = {buildPath("bin/lumox-run")};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> all = {"ASAN_OPTIONS=", "UBSAN_OPTIONS=", "LSAN_OPTIONS=", "TSAN_OPTIONS=",
                                    "LUMOX_PORT=" + std::to_string(findFreePorts(10))};
    all.insert(all.end(), env.begin(), env.end());
    if (!c.start(argv, all, buildPath("examples")))
        return -1;
    return c.wait(60000);
}

std::string listReport(const std::string& path)
{
    Child rpt;
    if (!rpt.start({buildPath("bin/lumox-rpt"), "list", path}) || rpt.wait() != 0)
        return "lumox-rpt failed: " + rpt.err();
    return rpt.out();
}

}  // namespace

TEST(LumoxRun, withoutACollectorTheReportsShowInFullAndTheStatusIsTheProgramsOwn)
{
    Child c;
    ASSERT_EQ(run(c, {"./overflow-clang"}), 1);
    std::string err = c.err();
    EXPECT_TRUE(has(err, "no Lumox collector is listening")) << err;
    // The runtime's own report, shadow bytes and all, as it would have printed it.
    EXPECT_TRUE(has(err, "ERROR: AddressSanitizer: heap-buffer-overflow")) << err;
    EXPECT_TRUE(has(err, "Shadow bytes around the buggy address")) << err;
    EXPECT_EQ(count(err, "ERROR: AddressSanitizer"), 1) << err;
    EXPECT_TRUE(has(err, "] heap-buffer-overflow " + examples + "overflow.c:11\n")) << err;
    EXPECT_TRUE(has(err, "lumox-run: 1 finding in 1 process (1 heap-buffer-overflow); ./overflow-clang exited with "
                         "status 1\n"))
        << err;

    // gcc's undefined-behaviour runtime beside its address runtime prints on
    // standard error: it still arrives there once, and is read from it.
    Child both;
    ASSERT_EQ(run(both, {"./arith-asan-ubsan-gcc"}), 3);
    EXPECT_EQ(count(both.err(), "runtime error: signed integer overflow"), 1) << both.err();
    EXPECT_TRUE(has(both.err(), "] signed-integer-overflow " + examples + "arith.c:9")) << both.err();
    EXPECT_TRUE(has(both.err(), "] invalid-shift-exponent " + examples + "arith.c:14")) << both.err();
    EXPECT_EQ(both.out(), "total -2147483648, big 1\n");
}

TEST(LumoxRun, aReportFileHoldsASessionPerReportingProcessForLumoxRptToRead)
{
    std::string dir = scratchDir("lumox-run-report");
    std::string rpt = dir + "/run.rpt";
    Child c;
    ASSERT_EQ(run(c, {"--report", rpt, "--", "./forks-gcc"}), 0) << c.err();
    EXPECT_FALSE(has(c.err(), "no Lumox")) << c.err();
    EXPECT_TRUE(has(c.err(), "2 sessions in " + rpt)) << c.err();
    std::string list = listReport(rpt);
    // Parent and child each signed on with their own pid.
    EXPECT_EQ(count(list, "Runtime: Executing \"./forks-gcc\" on "), 2) << list;
    EXPECT_EQ(count(list, "signed-integer-overflow"), 2) << list;
    EXPECT_EQ(count(list, "forks.c : 10"), 2) << list;

    // The same file as SARIF for code scanning: valid against the schema,
    // a run per session, the finding at its line.
    Child sarif;
    ASSERT_TRUE(sarif.start({buildPath("bin/lumox-rpt"), "sarif", rpt}));
    ASSERT_EQ(sarif.wait(), 0) << sarif.err();
    std::string log = dir + "/run.sarif";
    writeFile(log, sarif.out());
    EXPECT_EQ(jsonSchemaErrors(std::string(LUMOX_SOURCE_DIR) + "/tools/lumox-rpt/tests/data/sarif-schema-2.1.0.json", log),
              "");
    EXPECT_EQ(count(sarif.out(), "\"ruleId\": \"signed-integer-overflow\""), 2);
    EXPECT_EQ(count(sarif.out(), "\"startLine\": 10"), 2 + 2) << "the result and its stack's first frame";

    // Standalone leak checking with complete stacks; the leaks' user lines.
    Child leaks;
    ASSERT_EQ(run(leaks, {"--full-stacks", "--report", rpt, "./leaks-lsan-gcc"}), 23) << leaks.err();
    list = listReport(rpt);
    EXPECT_TRUE(has(list, "LEAK_direct")) << list;
    EXPECT_TRUE(has(list, "leaks.cc : 23")) << list;
    EXPECT_TRUE(has(list, "LEAK_summary")) << list;
    EXPECT_TRUE(has(list, "EXIT_summary")) << list;

    // A test suite: make has no runtime of its own, the tests it runs do,
    // and each test process that reports is a session.
    std::string makefile = scratchFile("lumox-run-report", "Makefile", "check:\n\t-./arith-clang\n\t-./overflow-gcc\n");
    Child suite;
    ASSERT_EQ(run(suite, {"--report", rpt, "make", "-s", "-f", makefile, "check"}), 0) << suite.err();
    EXPECT_TRUE(has(suite.err(), "make has no sanitizer runtime, so only the programs it starts")) << suite.err();
    list = listReport(rpt);
    EXPECT_TRUE(has(list, "Runtime: Executing \"./arith-clang\"")) << list;
    EXPECT_TRUE(has(list, "Runtime: Executing \"./overflow-gcc\"")) << list;
    EXPECT_TRUE(has(list, "heap-buffer-overflow")) << list;

    // The user's own runtime options stand beside lumox-run's.
    Child quiet;
    ASSERT_EQ(run(quiet, {"--report", rpt, "./leaks-gcc"}, {"ASAN_OPTIONS=detect_leaks=0"}), 0) << quiet.err();
    EXPECT_TRUE(has(quiet.err(), "lumox-run: no findings; 0 sessions in " + rpt + "; ./leaks-gcc exited with status 0"))
        << quiet.err();
    Child named;
    ASSERT_EQ(run(named, {"--report", rpt, "./overflow-gcc"}, {"ASAN_OPTIONS=log_exe_name=1"}), 1) << named.err();
    EXPECT_TRUE(has(named.err(), "1 finding in 1 process (1 heap-buffer-overflow)")) << named.err();
}

TEST(LumoxRun, signalsAndFailuresToStartAreReportedAsAShellWould)
{
    std::string dir = scratchDir("lumox-run-signals");
    std::string rpt = dir + "/signal.rpt";
    Child killed;
    EXPECT_EQ(run(killed, {"--report", rpt, "sh", "-c", "kill -SEGV $$"}), 128 + 11);
    EXPECT_TRUE(has(killed.err(), "sh was killed by SIGSEGV")) << killed.err();
    EXPECT_TRUE(has(listReport(rpt), "EXIT_summary")) << "a crash is shown even without findings";

    Child missing;
    EXPECT_EQ(run(missing, {"./no-such-program"}), 127);
    EXPECT_TRUE(has(missing.err(), "lumox-run: ./no-such-program: not found")) << missing.err();
    Child usage;
    EXPECT_EQ(run(usage, {"--valgrind=massif", "./uninit"}), 125);
    EXPECT_TRUE(has(usage.err(), "unknown Valgrind tool")) << usage.err();

    // A program without a runtime runs as it is, with a word on what to do.
    Child plain;
    EXPECT_EQ(run(plain, {"./race-plain"}), 0);
    EXPECT_TRUE(has(plain.err(), "./race-plain has no sanitizer runtime")) << plain.err();
    EXPECT_TRUE(has(plain.err(), "lumox-run: no findings; ./race-plain exited with status 0")) << plain.err();
}
