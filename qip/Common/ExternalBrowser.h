#pragma once

// Opens a source file at a line in the user's editor. This version only
// records each request (the directory, file and line of the last one and how
// many there were), so that callers can be exercised without an editor.
class ExternalBrowser {
public:
    // Opens `file` in directory `dir` at `line`.
    static void browse(char* dir, char* file, int line);

    // The last request and the number of requests so far.
    static const char* lastDir();
    static const char* lastFile();
    static int lastLine();
    static int requests();
};
