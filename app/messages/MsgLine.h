#pragma once

#include <string>

// One line of a message body as the body pane shows it. The text points into
// the pane's private copy of the body; the line owns nothing.
class MsgLine {
public:
    explicit MsgLine(char* text) : _text(text) {}
    virtual ~MsgLine() {}
    // What a double click on the line does: nothing for a plain line.
    virtual void activate() {}

    char* _text;
};

// A line of a stack trace: "<file:line>text". The file and line number are
// cut out of the line in place. The line shows its text followed by where
// the frame is ("  #1 main  src/main.c:42"), not the text alone: without
// the location a user could not tell where a frame is short of opening the
// editor on it. Activating it opens that source line in the editor.
class TraceLine : public MsgLine {
public:
    explicit TraceLine(char* line);
    void activate() override;

    char* _filename;
    char* _lineno;

private:
    std::string _shown;  // the text and the location; _text points into it
};
