#pragma once

#include <sys/types.h>

// A prepared command: argument vector, environment and working directory,
// kept as packed strings (each NUL-terminated, one after the other) that the
// object owns. execute() starts it as a separate process that is not waited
// for; kill() stops it.
class qipExec {
public:
    qipExec();
    ~qipExec();

    // Copies `size` bytes holding `argc` packed strings; 0, or -1 for no data
    // or no memory.
    int cmdline(int argc, const char* data, int size);
    int environment(int n, const char* data, int size);
    int cwd(const char* dir);
    // Starts the command, searched along PATH; 0, or -1 without a command or
    // when the fork fails.
    int execute();
    // Sends SIGKILL to the started process.
    void kill();

    int argc() const { return _argc; }
    char** argv() const { return _argv; }
    char** envp() const { return _envp; }
    const char* workingDirectory() const { return _cwd; }
    const char* cmdlineData() const { return _cmdlineData; }
    int cmdlineDataSize() const { return _cmdlineDataSz; }
    const char* environData() const { return _environData; }
    int environDataSize() const { return _environDataSz; }
    int environCount() const { return _envc; }
    pid_t pid() const { return _pid; }

private:
    qipExec(const qipExec&) = delete;
    qipExec& operator=(const qipExec&) = delete;
    static void run(void* self);

    int _argc;
    char** _argv;
    char** _envp;
    pid_t _pid;
    char* _cwd;
    char* _cmdlineData;
    int _cmdlineDataSz;
    char* _environData;
    int _environDataSz;
    int _envc;
};
