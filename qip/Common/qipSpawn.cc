#include "qip/Common/qipSpawn.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

pid_t qipSpawnDetached(void (*body)(void* data), void* data)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    pid_t middle = fork();
    if (middle < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (middle == 0) {
        close(fds[0]);
        pid_t child = fork();
        if (child == 0) {
            close(fds[1]);
            body(data);
            _exit(-1);
        }
        // The new process's id, or -1 when it could not be made.
        ssize_t n = write(fds[1], &child, sizeof child);
        (void)n;
        _exit(child < 0 ? 1 : 0);
    }
    close(fds[1]);
    pid_t child = -1;
    ssize_t n;
    do {
        n = read(fds[0], &child, sizeof child);
    } while (n < 0 && errno == EINTR);
    close(fds[0]);
    int status;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return n == sizeof child ? child : -1;
}
