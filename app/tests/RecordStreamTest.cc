#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ConxnMsg.h"
#include "app/ErrorMsg.h"
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

TEST(ErrorRecordStream, wholeRecord)
{
    Framed f(word(goodHeader.size() + 1) + text(goodHeader) + word(6) + text("body\n"));
    ASSERT_GT(f.result, 0);
    ErrorMsg m(3);
    f.in >> m;
    EXPECT_STREQ(m._errorCategory, "ABW");
    EXPECT_STREQ(m._filename, "f.c");
    EXPECT_STREQ(m._body, "body\n");
    EXPECT_EQ(m._bodySz, 6);
    EXPECT_EQ(f.in.buffer()->remaining(), 0);
}

TEST(ErrorRecordStream, textsLongerThanDeclaredAreCut)
{
    Framed f(word(10) + text(goodHeader) + word(3) + text("a long body"));
    ErrorMsg m;
    f.in >> m;
    EXPECT_STREQ(m._msgSrc, "Runtime");
    EXPECT_STREQ(m._host, "");
    EXPECT_STREQ(m._body, "a ");
}

TEST(ErrorRecordStream, shortGarbageAndMissingNuls)
{
    // Ends inside the header length: nothing is set.
    {
        Framed f(std::string("\x10\x00", 2));
        ErrorMsg m;
        f.in >> m;
        EXPECT_FALSE(m._msgSrc.isSet());
        EXPECT_FALSE(m._body.isSet());
    }
    // Header without its NUL: nothing is set.
    {
        Framed f(word(100) + goodHeader);
        ErrorMsg m;
        f.in >> m;
        EXPECT_FALSE(m._errorCategory.isSet());
    }
    // Header but no body: the header is parsed, the body stays unset.
    {
        Framed f(word(goodHeader.size() + 1) + text(goodHeader) + word(50));
        ErrorMsg m;
        f.in >> m;
        EXPECT_STREQ(m._errorCategory, "ABW");
        EXPECT_FALSE(m._body.isSet());
        EXPECT_EQ(m._bodySz, 0);
    }
    // Absurd declared lengths never allocate more than the record holds.
    {
        Framed f(word(0x7fffffff) + text("<a><b>") + word(-40) + text("body"));
        ErrorMsg m;
        f.in >> m;
        EXPECT_STREQ(m._msgSrc, "a");
        EXPECT_STREQ(m._body, "");
    }
    // Binary garbage parses to empty fields.
    {
        std::string junk;
        for (int i = 0; i < 300; ++i)
            junk += static_cast<char>((i * 37) & 0xff);
        Framed f(junk);
        ErrorMsg m;
        f.in >> m;
        EXPECT_STREQ(m._lineno, "");
    }
}

TEST(SignOnRecordStream, wholeShortAndEmpty)
{
    const std::string header = "<Runtime><321><prog><1000><box><12:00>";
    {
        Framed f(word(header.size() + 1) + text(header));
        ConxnMsg m(0);
        f.in >> m;
        EXPECT_EQ(m._token, 321);
        EXPECT_STREQ(m._filename, "prog");
    }
    {
        Framed f(word(5) + text(header));
        ConxnMsg m(0);
        f.in >> m;
        EXPECT_STREQ(m._type, "");
        EXPECT_EQ(m._token, 0);
    }
    {
        ConxnMsg m(9);
        FrameReader in;
        in.buffer()->filled(0);
        in >> m;
        EXPECT_FALSE(m._type.isSet());
        EXPECT_EQ(m._token, 9);
    }
}
