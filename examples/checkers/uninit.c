/* Needs no special build: run it under Valgrind. It branches on memory it
 * never wrote, frees a buffer twice and loses another one. */
#include <stdio.h>
#include <stdlib.h>

static int sum(const int* values, int n)
{
    int total = 0;
    for (int i = 0; i < n; ++i)
        total += values[i];
    return total;
}

int main(void)
{
    int* values = malloc(4 * sizeof(int));
    values[0] = 1;
    if (sum(values, 4) > 10)
        puts("large");
    free(values);
    free(values);
    char* lost = malloc(64);
    lost[0] = 'x';
    return 0;
}
