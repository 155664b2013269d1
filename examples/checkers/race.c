/* Two threads count into one shared counter without a lock: the thread
 * checker reports a data race with the stacks of both accesses and where
 * each thread was created. */
#include <pthread.h>
#include <stdio.h>

static long counter;

static void* count(void* arg)
{
    (void)arg;
    for (int i = 0; i < 10000; ++i)
        counter++;
    return NULL;
}

int main(void)
{
    pthread_t a, b;
    pthread_create(&a, NULL, count, NULL);
    pthread_create(&b, NULL, count, NULL);
    pthread_join(a, NULL);
    pthread_join(b, NULL);
    printf("counter %ld\n", counter);
    return 0;
}
