#include <gtest/gtest.h>

#include <string>

#include "tools/lumox-send/MessageScript.h"

TEST(MessageScript, messagesWithBodiesAndTraceBlocks)
{
    MessageScript s;
    ASSERT_EQ(s.parse("# two messages\n"
                      "category: ABW\n"
                      "file: src/buffer.c:42\n"
                      "thread: 3\n"
                      "body: Array bounds write\n"
                      "trace: src/buffer.c:42   fill()\n"
                      "trace: main.c:7   main()\n"
                      "body:   after the trace\n"
                      "\n"
                      "---\n"
                      "category: MLK\r\n"
                      "file: leak.c\n"
                      "time: 10:00:00\n"
                      "trace: noline.c text\n",
                      "in"),
              0)
        << s.error();
    ASSERT_EQ(s.messages().size(), 2u);
    const OutgoingMessage& a = s.messages()[0];
    EXPECT_EQ(a.category, "ABW");
    EXPECT_EQ(a.file, "src/buffer.c");
    EXPECT_EQ(a.line, 42);
    EXPECT_EQ(a.thread, "3");
    EXPECT_EQ(a.body, "Array bounds write\n<BEGINSTACKTRACE>\n<src/buffer.c:42>  fill()\n<main.c:7>  main()\n"
                      "<ENDSTACKTRACE>\n  after the trace");
    const OutgoingMessage& b = s.messages()[1];
    EXPECT_EQ(b.category, "MLK");
    EXPECT_EQ(b.file, "leak.c");
    EXPECT_EQ(b.line, 0);
    EXPECT_EQ(b.time, "10:00:00");
    EXPECT_EQ(b.body, "<BEGINSTACKTRACE>\n<noline.c:0>text\n<ENDSTACKTRACE>");
}

TEST(MessageScript, errorsNameTheLineAndAddNothing)
{
    MessageScript s;
    EXPECT_EQ(s.parse("category: A\n---\ncolour: red\n", "f.msg"), -1);
    EXPECT_EQ(s.error(), "f.msg:3: unknown key \"colour\"");
    EXPECT_TRUE(s.messages().empty());
    EXPECT_EQ(s.parse("body: no category\n", "f.msg"), -1);
    EXPECT_EQ(s.error(), "f.msg:1: message without a category");
    EXPECT_EQ(s.parse("just text\n", "x"), -1);
    EXPECT_EQ(s.parse("category: A\ntrace:\n", "x"), -1);
    EXPECT_EQ(s.parse("", "x"), 0);
    EXPECT_EQ(s.parse("---\n---\n# nothing\n", "x"), 0);
    EXPECT_TRUE(s.messages().empty());
}

TEST(MessageScript, locations)
{
    std::string path;
    int line;
    splitLocation("a/b.c:12", &path, &line);
    EXPECT_EQ(path, "a/b.c");
    EXPECT_EQ(line, 12);
    splitLocation("c:/x.c", &path, &line);
    EXPECT_EQ(path, "c:/x.c");
    EXPECT_EQ(line, 0);
    splitLocation("x.c:", &path, &line);
    EXPECT_EQ(path, "x.c:");
}
