#pragma once

// Opens a message's source line. The records know no editor: the program
// registers its editor launcher at start, and opening does nothing while
// none is registered (in programs without a display).
class SourceOpener {
public:
    virtual ~SourceOpener() {}
    // Opens line `line` of `file` in directory `dir` ("" for none).
    virtual void open(const char* dir, const char* file, int line) = 0;

    // The registered opener, or null; install(null) unregisters.
    static SourceOpener* current() { return _current; }
    static void install(SourceOpener* opener) { _current = opener; }

private:
    static SourceOpener* _current;
};
