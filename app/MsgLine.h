#pragma once

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
// cut out of the line in place; the text after '>' is what is shown.
// Activating it opens that source line in the editor.
class TraceLine : public MsgLine {
public:
    explicit TraceLine(char* line);
    void activate() override;

    char* _filename;
    char* _lineno;
};
