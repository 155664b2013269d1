/* A program with nothing wrong in it, for measuring what checking costs:
 * it sorts a large array of pseudo-random numbers a few times over. */
#include <stdio.h>
#include <stdlib.h>

static int compare(const void* a, const void* b)
{
    int x = *(const int*)a, y = *(const int*)b;
    return (x > y) - (x < y);
}

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 20;
    const int n = 200000;
    int* values = malloc(n * sizeof(int));
    if (!values)
        return 1;
    unsigned seed = 12345;
    long checksum = 0;
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < n; ++i) {
            seed = seed * 1103515245u + 12345u;
            values[i] = (int)(seed >> 8);
        }
        qsort(values, n, sizeof(int), compare);
        checksum += values[n / 2];
    }
    printf("%ld\n", checksum);
    free(values);
    return 0;
}
