#pragma once

#include <functional>
#include <string>
#include <vector>

// One frame of a stack as a checker printed it. Fields a checker did not
// give stay empty (line 0).
struct Frame {
    std::string function;  // "main", "std::vector<int>::at(unsigned long)"
    std::string file;      // the source path as the checker names it
    int line = 0;
    std::string module;    // the binary or library: "/usr/lib/x86_64-linux-gnu/libc.so.6"
    std::string label;     // how the body shows the frame: "#1 main", "at main", "by foo"
    bool openable = true;  // false when the file names nothing the editor can open
};

// A piece of a report body: a text line, or a stack with its frames.
struct BodyPart {
    std::string text;           // the line; empty for a stack
    std::vector<Frame> frames;  // the stack's frames; empty for a line
    bool isStack() const { return !frames.empty(); }
};

// One finding of a checker in one process, as a parser hands it on: what
// the message will show and the text the checker printed for it. It owns
// copies of everything; a parser keeps nothing of it.
struct Finding {
    long pid = 0;
    std::string checker;    // the message source: "AddressSanitizer", "Memcheck", "cppcheck"
    std::string category;   // "heap-buffer-overflow", "LEAK_direct", "SIGSEGV_trapped", "uninitvar"
    std::string thread;     // as the checker names it ("T0", "main", "1"); empty for none
    std::string file;       // where the finding is, when the checker says so outright
    int line = 0;           // (cppcheck's primary location); else the first user frame decides
    std::vector<BodyPart> body;
    std::string printed;    // the report as the checker would print it on a terminal

    void addLine(const std::string& text) { body.push_back(BodyPart{text, {}}); }
    void addStack(std::vector<Frame> frames);
};

// Where a parser hands each finding as soon as its report is whole.
using FindingSink = std::function<void(Finding&&)>;

// Whether a frame lies in the user's own code: it has a source line, and
// neither its function, its file nor its module belongs to a checker's
// runtime, the C library, the C++ standard library or the system headers.
bool isUserFrame(const Frame& f);

// The place a message names: the finding's own file and line when it has
// them, else the first user frame of its stacks, else the first frame with
// a source line; false when there is none.
bool locate(const Finding& f, std::string& file, int& line);

// The message body: the lines, and each stack as a stack-trace block whose
// lines are "<FILE:LINE>    LABEL", indented alike for every checker (a frame
// without a source line shows its label and module, and opens nothing).
std::string messageBody(const Finding& f);

// Makes the finding's paths ones the editor can open, although Lumox starts
// it in a directory of its own: a relative path that names a file under
// `cwd`, where the checked process ran, becomes absolute; a frame's relative
// path that names nothing there (the C library's build paths, say) is shown
// but cannot be opened.
void resolvePaths(Finding& f, const std::string& cwd);

// The thread text a message carries: "0" (no threads) when the checker
// names none.
std::string messageThread(const Finding& f);
