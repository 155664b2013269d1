/* Static findings: an uninitialised variable, an index past the end of an
 * array, a pointer checked for null after it was used, and a leak. */
#include <stdlib.h>
#include <string.h>
#include "missing.h"

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
    int n = (int)strlen(text);
    if (text == NULL)
        return 0;
    return n;
}

char* keep(int n)
{
    char* buffer = malloc(n);
    if (n > 100)
        return 0;
    return buffer;
}
