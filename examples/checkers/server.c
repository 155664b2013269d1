/* A long-running program with a fault in its start-up: it reads a request
 * size through a misaligned pointer, then serves (sleeps) until it is
 * interrupted, for at most a minute. Its session stays live meanwhile, and
 * Build on it in Lumox interrupts it. */
#include <stdio.h>
#include <string.h>
#include <unistd.h>

static int requestSize(const char* packet)
{
    return *(const int*)(packet + 1); /* not aligned for an int */
}

int main(void)
{
    char packet[16];
    memset(packet, 1, sizeof packet);
    printf("request size %d\n", requestSize(packet));
    fflush(stdout);
    for (int second = 0; second < 60; ++second)
        sleep(1);
    return 0;
}
