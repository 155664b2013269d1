/* Two threads count into one shared counter without a lock, and main
 * unlocks a mutex nobody holds. A first thread has come and gone before
 * them, so Valgrind gives its number to the next one while Helgrind and
 * DRD count on. */
#include <pthread.h>
#include <stdio.h>

static long counter;
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_barrier_t start;

static void* idle(void* arg)
{
    return arg;
}

static void* count(void* arg)
{
    (void)arg;
    pthread_barrier_wait(&start);
    for (int i = 0; i < 100000; ++i)
        counter++;
    pthread_barrier_wait(&start);
    return NULL;
}

int main(void)
{
    pthread_t first, a, b;
    pthread_create(&first, NULL, idle, NULL);
    pthread_join(first, NULL);
    pthread_barrier_init(&start, NULL, 2);
    pthread_create(&a, NULL, count, NULL);
    pthread_create(&b, NULL, count, NULL);
    pthread_join(a, NULL);
    pthread_join(b, NULL);
    pthread_mutex_unlock(&lock);
    printf("counter %ld\n", counter);
    return 0;
}
