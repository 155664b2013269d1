/* Static findings for cppcheck: an uninitialised variable, an index past
 * the end of an array, a null pointer dereference and a leak. It is never
 * run. */
#include <stdlib.h>
#include <string.h>

int first(void)
{
    int value;
    return value;
}

int last(void)
{
    int table[4] = {1, 2, 3, 4};
    return table[4];
}

int length(const char* text)
{
    const char* p = 0;
    if (text)
        p = text;
    return (int)strlen(p) + *p;
}

char* keep(int n)
{
    char* buffer = malloc(n);
    if (n > 100)
        return 0;
    return buffer;
}
