#pragma once

#include <string>
#include <vector>

// One error message to send, with defaults left empty (the client library
// fills them in).
struct OutgoingMessage {
    OutgoingMessage() : line(0) {}

    std::string category;
    std::string file;
    int line;
    std::string thread;
    std::string source;
    std::string date;
    std::string time;
    std::string body;
};

// Builds a message body from body lines and stack-trace lines: trace lines
// in a row form one trace block between the markers.
class BodyBuilder {
public:
    void line(const std::string& text);
    // A trace line "PATH:LINE TEXT" (or "PATH TEXT" without a line number).
    void trace(const std::string& where);
    // The body so far, with any open trace block closed.
    std::string text();

private:
    struct Frame {
        std::string file;
        int line;
        std::string text;
    };
    void closeTrace();

    std::string _body;
    std::vector<Frame> _frames;
};

// Splits "PATH:LINE" into the path and the line; without ":LINE" (digits
// after the last ':') the line is 0 and the path is the whole text.
void splitLocation(const std::string& where, std::string* path, int* line);

// The text format of messages for lumox-send: one "key: value" per line,
// messages separated by a line "---", '#' comments and blank lines ignored.
// See usageText() for the keys.
class MessageScript {
public:
    // Parses `text` and appends its messages; 0, or -1 with error() naming
    // `origin` and the line. Nothing is appended on error.
    int parse(const std::string& text, const std::string& origin);

    const std::vector<OutgoingMessage>& messages() const { return _messages; }
    const std::string& error() const { return _error; }

private:
    std::vector<OutgoingMessage> _messages;
    std::string _error;
};

// The --help text, with the message format.
const char* usageText();
