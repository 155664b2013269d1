/* Links the client library from strict C and checks what works without a
 * collector: the port rule, argument checks, refusal results and the
 * stack-trace helper. */
#define _POSIX_C_SOURCE 200809L

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "lumox_client.h"

static int failures = 0;

#define CHECK(cond)                                                      \
    do {                                                                 \
        if (!(cond)) {                                                   \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                  \
        }                                                                \
    } while (0)

/* A loopback port on which nothing listens. */
static int unusedPort(void)
{
    struct sockaddr_in a;
    socklen_t len = sizeof a;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int port;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, (struct sockaddr*)&a, sizeof a);
    getsockname(fd, (struct sockaddr*)&a, &len);
    port = ntohs(a.sin_port);
    close(fd);
    return port;
}

int main(void)
{
    lumox_client* client = (lumox_client*)1;
    lumox_signon s;
    lumox_frame frames[2];
    char* body;
    int r;

    unsetenv("LUMOX_PORT");
    CHECK(lumox_base_port() == LUMOX_DEFAULT_PORT);
    setenv("LUMOX_PORT", "1024", 1);
    CHECK(lumox_base_port() == 3255);
    setenv("LUMOX_PORT", "1025", 1);
    CHECK(lumox_base_port() == 1025);
    setenv("LUMOX_PORT", "not a number", 1);
    CHECK(lumox_base_port() == 3255);

    memset(&s, 0, sizeof s);
    s.port = unusedPort();
    r = lumox_connect(&client, &s);
    CHECK(r == LUMOX_ENOCOLLECTOR);
    CHECK(client == NULL);
    CHECK(strstr(lumox_strerror(r), "no Lumox collector") != NULL);

    CHECK(lumox_connect(NULL, &s) == LUMOX_EINVAL);
    s.signature = "ab";
    CHECK(lumox_connect(&client, &s) == LUMOX_EINVAL);
    CHECK(lumox_send_error(NULL, NULL) == LUMOX_EINVAL);
    CHECK(lumox_close(NULL) == LUMOX_OK);
    CHECK(lumox_client_token(NULL) == 0);
    for (r = LUMOX_ENOMEM; r <= LUMOX_OK; ++r)
        CHECK(strlen(lumox_strerror(r)) > 0);

    frames[0].file = "src/main.c";
    frames[0].line = 42;
    frames[0].text = "  main()";
    frames[1].file = NULL;
    frames[1].line = 0;
    frames[1].text = "  ??";
    body = NULL;
    CHECK(lumox_append_trace(&body, frames, 2) == LUMOX_OK);
    CHECK(body && strcmp(body, "<BEGINSTACKTRACE>\n<src/main.c:42>  main()\n<:0>  ??\n<ENDSTACKTRACE>") == 0);
    free(body);
    body = malloc(16);
    strcpy(body, "Heap overflow");
    CHECK(lumox_append_trace(&body, frames, 1) == LUMOX_OK);
    CHECK(strcmp(body, "Heap overflow\n<BEGINSTACKTRACE>\n<src/main.c:42>  main()\n<ENDSTACKTRACE>") == 0);
    free(body);
    CHECK(lumox_append_trace(NULL, frames, 1) == LUMOX_EINVAL);

    if (failures)
        fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
