#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/messages/MsgBody.h"
#include "app/messages/MsgLine.h"
#include "qip/Common/ExternalBrowser.h"

namespace {

std::vector<std::string> shown(const MsgBody& b)
{
    std::vector<std::string> out;
    for (ListIterator<MsgLine*> i(b.lines()); i.valid(); i.next())
        out.push_back((dynamic_cast<TraceLine*>(i.current()) ? "~" : " ") + std::string(i.current()->_text));
    return out;
}

}  // namespace

TEST(MsgBody, aTraceBetweenItsMarkersShowsEachFrameWithItsLocationAndNoMarkers)
{
    MsgBody b("body");
    b.newBody("Reading past the end\n<BEGINSTACKTRACE>\n<src/a.c:12>  f()\n<lib/b.c:3>  main()\n<ENDSTACKTRACE>\nDone");
    EXPECT_EQ(shown(b), (std::vector<std::string>{" Reading past the end", "~  f()  src/a.c:12", "~  main()  lib/b.c:3",
                                                  " Done"}));
    // Marker lines count towards the canvas height; the widest line, with
    // its location, sets the width.
    EXPECT_EQ(b.canvasHeight(), 6);
    EXPECT_EQ(b.canvasWidth(), static_cast<int>(strlen("Reading past the end")) + 2);
    b.newBody("<BEGINSTACKTRACE>\n<a/very/long/directory/name/file.c:1234>  f()\n<ENDSTACKTRACE>");
    EXPECT_EQ(b.canvasWidth(), static_cast<int>(strlen("  f()  a/very/long/directory/name/file.c:1234")) + 2);

    // Without an end marker every later line is a trace line; a final
    // newline makes an empty last line.
    b.newBody("head\n<BEGINSTACKTRACE>\n<x.c:1>one\nplain text\n");
    EXPECT_EQ(shown(b), (std::vector<std::string>{" head", "~one  x.c:1", "~plain text", "~"}));
    b.newBody(nullptr);
    EXPECT_TRUE(b.lines().empty());
    EXPECT_EQ(b.lineCount(), 0);
}

TEST(TraceLine, cutsFileAndLineOutOfTheLine)
{
    char a[] = "<dir/sub/foo.c:42>  called from main()";
    TraceLine t(a);
    EXPECT_STREQ(t._filename, "dir/sub/foo.c");
    EXPECT_STREQ(t._lineno, "42");
    EXPECT_STREQ(t._text, "  called from main()  dir/sub/foo.c:42");

    // A frame without text shows its location alone; an empty file shows
    // the text alone.
    char e[] = "<foo.c:0>";
    EXPECT_STREQ(TraceLine(e)._text, "foo.c");
    char f[] = "<:3>  inlined()";
    EXPECT_STREQ(TraceLine(f)._text, "  inlined()");

    char b[] = "<foo.c:42 no close";
    TraceLine u(b);
    EXPECT_STREQ(u._filename, "foo.c");
    EXPECT_STREQ(u._lineno, "42 no close");
    EXPECT_STREQ(u._text, "<foo.c");

    char c[] = "<foo.c";
    TraceLine v(c);
    EXPECT_STREQ(v._filename, "foo.c");
    EXPECT_EQ(v._lineno, nullptr);

    char d[] = "no angle";
    TraceLine w(d);
    EXPECT_EQ(w._filename, nullptr);
    EXPECT_STREQ(w._text, "no angle");
}

TEST(TraceLine, activationSplitsTheFileAtItsLastSlash)
{
    // Each request is logged before the browser looks for the file.
    auto open = [](const char* line) {
        std::string copy = line;
        TraceLine t(&copy[0]);
        int before = ExternalBrowser::requests();
        t.activate();
        ExternalBrowser::instance()->cancel();
        return ExternalBrowser::requests() - before;
    };
    EXPECT_EQ(open("<src/x/f.c:7>text"), 1);
    EXPECT_STREQ(ExternalBrowser::lastDir(), "src/x");
    EXPECT_STREQ(ExternalBrowser::lastFile(), "f.c");
    EXPECT_EQ(ExternalBrowser::lastLine(), 7);
    EXPECT_EQ(open("<f.c:>text"), 1);
    EXPECT_STREQ(ExternalBrowser::lastDir(), "");
    EXPECT_EQ(ExternalBrowser::lastLine(), 0);
    EXPECT_EQ(open("plain"), 0);
    EXPECT_EQ(open("<:3>no file"), 0);
}
