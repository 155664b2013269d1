#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/records/Field.h"
#include "app/records/SourceOpener.h"

namespace {
// extract() writes into its argument, so tests parse a private copy.
int parse(NetMsg& m, const std::string& header)
{
    std::string copy = header;
    return m.extract(&copy[0]);
}

std::string injected(NetMsg& m)
{
    char* text = m.inject();
    std::string s = text ? text : "(null)";
    free(text);
    return s;
}
}  // namespace

TEST(Field, bracketParser)
{
    char text[] = "<one><><three";
    char* cursor = text;
    Field f;
    EXPECT_EQ(f.extract(cursor), 0);
    EXPECT_STREQ(f.text(), "one");
    EXPECT_EQ(*cursor, '<');
    EXPECT_EQ(f.extract(cursor), 0);
    EXPECT_TRUE(f.isSet());
    EXPECT_STREQ(f.text(), "");
    // No closing bracket: empty, the cursor just after the '<'.
    f = "old";
    EXPECT_EQ(f.extract(cursor), -1);
    EXPECT_STREQ(f.text(), "");
    EXPECT_STREQ(cursor, "three");
    // Not at a '<': empty and the cursor stays.
    char* before = cursor;
    EXPECT_EQ(f.extract(cursor), -1);
    EXPECT_EQ(cursor, before);
}

TEST(ErrorMsg, extractSplitsTheFileAndInjectGivesTheHeaderBack)
{
    const std::string header = "<Runtime><host1><2024-01-02><10:11:12><4242><0><ABW><src/x/f.c><42>";
    ErrorMsg m(7);
    EXPECT_EQ(parse(m, header), 0);
    EXPECT_STREQ(m._errorCategory, "ABW");
    EXPECT_STREQ(m._filepath, "src/x");
    EXPECT_STREQ(m._filename, "f.c");
    EXPECT_STREQ(m._lineno, "42");
    EXPECT_EQ(m._token, 7);
    EXPECT_EQ(m._status, New);
    EXPECT_EQ(injected(m), header);
    // Without threads the category takes forty columns.
    EXPECT_EQ(std::string(m.id()), "   ABW" + std::string(37, ' ') + " f.c : 42");

    ErrorMsg again;
    EXPECT_EQ(parse(again, injected(m)), 0);
    EXPECT_EQ(injected(again), header);
    // Unset fields inject as empty brackets.
    ErrorMsg empty;
    EXPECT_EQ(injected(empty), "<><><><><><><></><>");
}

TEST(ErrorMsg, idWithThreadAndWithUnknownLocation)
{
    ErrorMsg t;
    parse(t, "<s><h><d><t><1><3><FMR><a.c><9>");
    EXPECT_EQ(std::string(t.id()), "   FMR" + std::string(24, ' ') + " Thread: 3     a.c : 9");
    // An empty tid counts as threaded.
    ErrorMsg e;
    parse(e, "<s><h><d><t><1><><FMR><a.c><9>");
    EXPECT_NE(std::string(e.id()).find("Thread: "), std::string::npos);

    ErrorMsg u;
    parse(u, "<s><h><d><t><1><0><MLK><unknown><unknown>");
    EXPECT_EQ(std::string(u.id()), "   MLK" + std::string(41, ' '));
    ErrorMsg noLine;
    parse(noLine, "<s><h><d><t><1><0><MLK><f.c><>");
    EXPECT_EQ(std::string(noLine.id()), "   MLK" + std::string(37, ' ') + " f.c   ");

    // Lines are cut to the 1024-byte line buffer.
    std::string huge(5000, 'c');
    ErrorMsg big;
    parse(big, "<s><h><d><t><1><0><" + huge + "><f.c><1>");
    EXPECT_EQ(strlen(big.id()), 1023u);
    ConxnMsg c;
    parse(c, "<Runtime><1><" + huge + "><0><h><t>");
    EXPECT_EQ(strlen(c.id()), 1023u);
}

TEST(ErrorMsg, malformedHeaders)
{
    ErrorMsg m;
    EXPECT_EQ(parse(m, "garbage<a><b>"), -1);
    EXPECT_STREQ(m._msgSrc, "");
    EXPECT_STREQ(m._lineno, "");
    EXPECT_STREQ(m._filename, "");
    // A bracket without '/' is the whole name; a broken one empties what follows.
    ErrorMsg n;
    EXPECT_EQ(parse(n, "<s><h><d><t><p><0><c><f.c><12>"), 0);
    EXPECT_STREQ(n._filepath, "");
    EXPECT_STREQ(n._filename, "f.c");
    ErrorMsg cut;
    EXPECT_EQ(parse(cut, "<s><h><d><t"), -1);
    EXPECT_STREQ(cut._date, "d");
    EXPECT_STREQ(cut._time, "");
    EXPECT_STREQ(cut._errorCategory, "");
}

TEST(ErrorMsg, activateOpensTheSourceLineUnlessUnknown)
{
    // What the program registers opens the editor; here it notes the request.
    struct Noted : SourceOpener {
        std::vector<std::string> requests;
        void open(const char* dir, const char* file, int line) override
        {
            requests.push_back(std::string(dir) + "|" + file + "|" + std::to_string(line));
        }
    } noted;
    SourceOpener* before = SourceOpener::current();
    SourceOpener::install(&noted);
    ErrorMsg m;
    parse(m, "<s><h><d><t><1><0><ABW><src/x/f.c><-5>");
    EXPECT_EQ(m.activate(), 0);
    ErrorMsg u;
    parse(u, "<s><h><d><t><1><0><ABW><unknown><3>");
    EXPECT_EQ(u.activate(), -1);
    EXPECT_EQ(noted.requests, std::vector<std::string>{"src/x|f.c|0"});
    SourceOpener::install(before);
}

TEST(ConxnMsg, signOnLinesTokenFromPidAndRoundTrip)
{
    struct {
        const char* type;
        const char* line;
    } cases[] = {
        {"Do_mpf", "Torvane: Instrumenting \"prog\" on box, pid=77"},
        {"Runtime", "Runtime: Executing \"prog\" on box, pid=77"},
        {"Zentrix", "Zentrix: Analyzing \"prog\" on box, pid=77"},
        {"Zentrix2", "Unknown client: signature=\"Zentrix2\", tag=\"prog\" on box, pid=77"},
    };
    for (auto& c : cases) {
        ConxnMsg m(5);
        EXPECT_EQ(parse(m, std::string("<") + c.type + "><77><prog><1000><box><12:00>"), 0);
        EXPECT_STREQ(m.id(), c.line);
        EXPECT_EQ(m._token, 5);
        EXPECT_EQ(m.status(), 1);
    }

    const std::string header = "<Runtime><4711><prog><1000><box><12:00>";
    ConxnMsg m(0);
    parse(m, header);
    EXPECT_EQ(m._token, 4711);
    EXPECT_EQ(injected(m), header);
    ConxnMsg bad(0);
    EXPECT_EQ(parse(bad, "no brackets"), -1);
    EXPECT_EQ(bad._token, 0);
    EXPECT_STREQ(bad.id(), "Unknown client: signature=\"\", tag=\"\" on , pid=");
}
