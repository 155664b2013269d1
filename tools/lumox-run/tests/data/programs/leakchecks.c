/* Asks for a leak check twice while it runs, and loses memory before each
 * and before the check at exit. */
#include <stdlib.h>
#include <valgrind/memcheck.h>

static void* lose(size_t size)
{
    return malloc(size);
}

int main(void)
{
    lose(10);
    VALGRIND_DO_LEAK_CHECK;
    lose(20);
    VALGRIND_DO_LEAK_CHECK;
    lose(30);
    return 0;
}
