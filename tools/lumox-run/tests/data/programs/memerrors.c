/* Memory errors of several kinds in one run: reads and writes past a
 * block, a double free, a branch on memory never written, a system call
 * given unwritten bytes, an overlapping copy, a negative size, lost memory.
 * A forked child execs this program again, which dies on a null pointer. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

struct node {
    struct node* next;
    char name[24];
};

static char* kept;
static char* reachable;

static int readPast(const int* values, int n)
{
    return values[n];
}

static void writePast(char* buffer, size_t size)
{
    buffer[size] = 'x';
}

static struct node* makeList(void)
{
    struct node* head = malloc(sizeof *head);
    head->next = malloc(sizeof *head->next);
    head->next->next = NULL;
    return head;
}

static int crash(const int* p)
{
    return *p;
}

int main(int argc, char** argv)
{
    if (argc > 1) {
        int* none = NULL;
        return crash(none);
    }
    int* values = malloc(4 * sizeof(int));
    values[0] = 1;
    if (values[1] > 0)
        puts("positive");
    int past = readPast(values, 4);
    char* name = malloc(16);
    writePast(name, 16);
    free(values);
    free(values);
    char unset[8];
    write(1, unset, sizeof unset);
    strcpy(name, "overlap");
    strncpy(name + 1, name, 4);
    char* odd = malloc((size_t)(argc - 2));
    struct node* list = makeList();
    list = NULL;
    kept = malloc(40);
    kept += 8;
    reachable = malloc(24);

    fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        int late = readPast(values, 1);
        sleep(1);
        execl(argv[0], argv[0], "crash-ü", (char*)NULL);
        return late;
    }
    int status = 0;
    waitpid(child, &status, 0);
    printf("%d %p %p %d\n", past, (void*)list, (void*)odd, status);
    return 0;
}
