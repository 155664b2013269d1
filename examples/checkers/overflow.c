/* Writes one byte past the end of a heap buffer: AddressSanitizer stops the
 * program with a heap-buffer-overflow report that shows where the write
 * happened and where the buffer was allocated. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void fill(char* buffer, size_t size, char c)
{
    for (size_t i = 0; i <= size; ++i) /* one too many */
        buffer[i] = c;
}

int main(void)
{
    char* name = malloc(16);
    fill(name, 16, 'x');
    printf("filled %s\n", name);
    free(name);
    return 0;
}
