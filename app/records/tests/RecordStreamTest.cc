#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "qip/Monitors/qipSafeAIFS.h"

namespace {
class FrameReader : public qipSafeAIFS {
public:
    void triggered() override {}
    void error() override {}
};

std::string word(int32_t n) { return std::string(reinterpret_cast<const char*>(&n), sizeof n); }
std::string text(const std::string& s) { return s + std::string(1, '\0'); }

// Sends `record` as one frame through a socket pair and reads it back, so
// that the extractor runs over exactly what a connection would hold.
struct Framed {
    explicit Framed(const std::string& record)
    {
        socketpair(AF_UNIX, SOCK_STREAM, 0, fd);
        std::string f = word((int32_t)record.size()) + record;
        EXPECT_EQ(write(fd[1], f.data(), f.size()), (ssize_t)f.size());
        in.watch(fd[0]);
        result = in.read();
    }
    ~Framed()
    {
        close(fd[0]);
        close(fd[1]);
    }
    int fd[2];
    int result;
    FrameReader in;
};

const std::string goodHeader = "<Runtime><h><d><10:00:00><12><0><ABW><src/f.c><7>";
}  // namespace

TEST(ErrorRecordStream, wholeRecordAndTextsLongerThanDeclared)
{
    Framed f(word(goodHeader.size() + 1) + text(goodHeader) + word(6) + text("body\n"));
    ASSERT_GT(f.result, 0);
    ErrorMsg m(3);
    f.in >> m;
    EXPECT_STREQ(m._errorCategory, "ABW");
    EXPECT_STREQ(m._body, "body\n");
    EXPECT_EQ(m._bodySz, 6);
    EXPECT_EQ(f.in.buffer()->remaining(), 0);

    // Texts are cut at their declared lengths.
    Framed cut(word(10) + text(goodHeader) + word(3) + text("a long body"));
    ErrorMsg c;
    cut.in >> c;
    EXPECT_STREQ(c._msgSrc, "Runtime");
    EXPECT_STREQ(c._host, "");
    EXPECT_STREQ(c._body, "a ");
}

// Each record is read by a fresh message from its own socket pair.
TEST(ErrorRecordStream, shortGarbageAndMissingNuls)
{
    auto read = [](const std::string& record, ErrorMsg& m) {
        Framed f(record);
        f.in >> m;
    };
    ErrorMsg shortLength, noNul, noBody, absurd, junkMsg;
    // Ends inside the header length: nothing is set.
    read(std::string("\x10\x00", 2), shortLength);
    EXPECT_FALSE(shortLength._msgSrc.isSet());
    EXPECT_FALSE(shortLength._body.isSet());
    // Header without its NUL: nothing is set.
    read(word(100) + goodHeader, noNul);
    EXPECT_FALSE(noNul._errorCategory.isSet());
    // Header but no body: the header is parsed, the body stays unset.
    read(word(goodHeader.size() + 1) + text(goodHeader) + word(50), noBody);
    EXPECT_STREQ(noBody._errorCategory, "ABW");
    EXPECT_FALSE(noBody._body.isSet());
    EXPECT_EQ(noBody._bodySz, 0);
    // Absurd declared lengths never allocate more than the record holds.
    read(word(0x7fffffff) + text("<a><b>") + word(-40) + text("body"), absurd);
    EXPECT_STREQ(absurd._msgSrc, "a");
    EXPECT_STREQ(absurd._body, "");
    // Binary garbage parses to empty fields.
    std::string junk;
    for (int i = 0; i < 300; ++i)
        junk += static_cast<char>((i * 37) & 0xff);
    read(junk, junkMsg);
    EXPECT_STREQ(junkMsg._lineno, "");
}

TEST(SignOnRecordStream, wholeShortAndEmpty)
{
    const std::string header = "<Runtime><321><prog><1000><box><12:00>";
    ConxnMsg whole(0), cut(0), empty(9);
    {
        Framed f(word(header.size() + 1) + text(header));
        f.in >> whole;
        Framed g(word(5) + text(header));
        g.in >> cut;
    }
    EXPECT_EQ(whole._token, 321);
    EXPECT_STREQ(whole._filename, "prog");
    EXPECT_STREQ(cut._type, "");
    EXPECT_EQ(cut._token, 0);
    FrameReader in;
    in.buffer()->filled(0);
    in >> empty;
    EXPECT_FALSE(empty._type.isSet());
    EXPECT_EQ(empty._token, 9);
}
