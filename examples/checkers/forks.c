/* A parent and the child it forks both overflow an int: each process
 * reports on its own, so each becomes a session of its own. */
#include <limits.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

static int next(int value)
{
    return value + 1;
}

int main(void)
{
    pid_t child = fork();
    if (child < 0)
        return 1;
    int n = next(INT_MAX);
    printf("%s: %d\n", child == 0 ? "child" : "parent", n);
    if (child == 0)
        return 0;
    int status = 0;
    waitpid(child, &status, 0);
    return 0;
}
