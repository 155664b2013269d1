/* Undefined arithmetic that the program survives: a signed overflow and a
 * shift past the width of int. The undefined-behaviour checker reports each
 * and lets the program go on; it exits with status 3. */
#include <limits.h>
#include <stdio.h>

static int add(int a, int b)
{
    return a + b;
}

static int scale(int value, int bits)
{
    return value << bits;
}

int main(int argc, char** argv)
{
    (void)argv;
    int total = add(INT_MAX, argc);
    int big = scale(1, 31 + argc);
    printf("total %d, big %d\n", total, big);
    return 3;
}
