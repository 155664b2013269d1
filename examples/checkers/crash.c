/* Reads through a null pointer: the address checker catches the SIGSEGV
 * and reports where it happened before the program dies. */
#include <stdio.h>

struct config {
    const char* name;
    int verbose;
};

static int verbosity(const struct config* c)
{
    return c->verbose;
}

static struct config* lookup(const char* name)
{
    (void)name;
    return NULL;
}

int main(void)
{
    printf("verbosity %d\n", verbosity(lookup("default")));
    return 0;
}
