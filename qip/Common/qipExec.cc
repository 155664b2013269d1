#include "qip/Common/qipExec.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qip/Common/qipSpawn.h"

qipExec::qipExec()
    : _argc(0),
      _argv(nullptr),
      _envp(nullptr),
      _pid(-1),
      _cwd(nullptr),
      _cmdlineData(nullptr),
      _cmdlineDataSz(0),
      _environData(nullptr),
      _environDataSz(0),
      _envc(0)
{
}

qipExec::~qipExec()
{
    free(_argv);
    free(_envp);
    free(_cwd);
    free(_cmdlineData);
    free(_environData);
}

// Copies a block of packed strings and builds the vector over the copy. The
// vector holds at most `n` entries and never points past the block.
static int pack(int n, const char* data, int size, char*& block, int& blockSize, char**& vector, int& count)
{
    if (!data || size <= 0 || n < 0)
        return -1;
    // Each string takes at least its NUL, so the block holds no more than
    // `size` of them: the vector is sized by the bytes that came, never by
    // the count a client or a report file declared.
    if (n > size)
        n = size;
    char* copy = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
    char** v = static_cast<char**>(malloc(sizeof(char*) * (static_cast<size_t>(n) + 1)));
    if (!copy || !v) {
        free(copy);
        free(v);
        return -1;
    }
    memcpy(copy, data, size);
    copy[size] = '\0';  // a block whose last string lacks its NUL still ends
    int k = 0;
    for (int off = 0; k < n && off < size; ++k) {
        v[k] = copy + off;
        off += static_cast<int>(strlen(copy + off)) + 1;
    }
    v[k] = nullptr;
    free(block);
    free(vector);
    block = copy;
    blockSize = size;
    vector = v;
    count = k;
    return 0;
}

int qipExec::cmdline(int argc, const char* data, int size)
{
    return pack(argc, data, size, _cmdlineData, _cmdlineDataSz, _argv, _argc);
}

int qipExec::environment(int n, const char* data, int size)
{
    return pack(n, data, size, _environData, _environDataSz, _envp, _envc);
}

int qipExec::cwd(const char* dir)
{
    char* copy = dir ? strdup(dir) : nullptr;
    if (dir && !copy)
        return -1;
    free(_cwd);
    _cwd = copy;
    return 0;
}

void qipExec::run(void* self)
{
    qipExec* e = static_cast<qipExec*>(self);
    if (e->_cwd && chdir(e->_cwd) != 0) {
        fprintf(stderr, "qipExec::execute: chdir \"%s\" failed!\n", e->_cwd);
        _exit(-1);
    }
    execvp(e->_argv[0], e->_argv);
    fprintf(stderr, "qipExec::execute: exec \"%s\" failed!\n", e->_argv[0]);
    _exit(-1);
}

int qipExec::execute()
{
    if (!_argv || !_argv[0])
        return -1;
    pid_t pid = qipSpawnDetached(run, this);
    if (pid < 0)
        return -1;
    _pid = pid;
    return 0;
}

void qipExec::kill()
{
    if (_pid > 0)
        ::kill(_pid, SIGKILL);
}
