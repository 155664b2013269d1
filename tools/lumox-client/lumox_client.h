#pragma once

/*
 * lumox_client: report errors to a running Lumox collector over TCP.
 *
 * A client connects once (lumox_connect), which finds the collector's port,
 * runs the handshake and sends the sign-on record that names the program;
 * then it sends any number of error records (lumox_send_error) and closes
 * (lumox_close). A client may be shared by several threads: each record goes
 * out whole. A process that forks after connecting may go on using the
 * client in both processes: the child's first record signs it on anew, on
 * the same port, as a session of its own with its own pid, and the parent's
 * connection stays the parent's. (Fork while no other thread is sending.)
 * Plain C; every function returns LUMOX_OK (0) or a negative LUMOX_E...
 * code that lumox_strerror() explains.
 *
 * Texts cannot carry '>' inside a header field; it is sent as '?', except in
 * a violation's class, item text and rule set, where '>' and '%' travel
 * percent-encoded ("%3E", "%25") and arrive as they were sent.
 */

#ifdef __cplusplus
extern "C" {
#endif

enum lumox_result {
    LUMOX_OK = 0,
    LUMOX_ENOCOLLECTOR = -1, /* nothing listens on the collector's ports */
    LUMOX_EREFUSED = -2,     /* a collector answered but refused this client */
    LUMOX_EPROTOCOL = -3,    /* the peer did not answer like a collector */
    LUMOX_EIO = -4,          /* the connection failed or was closed */
    LUMOX_EINVAL = -5,       /* a bad argument */
    LUMOX_ENOMEM = -6        /* out of memory */
};

/* The default port of the collector, and of the ten it tries. */
#define LUMOX_DEFAULT_PORT 3255
#define LUMOX_PORTS_TRIED 10

typedef struct lumox_client lumox_client;

/* How a client signs on. Zero every member you do not set (memset, or
 * "lumox_signon s = {0};"): zero means the default. */
typedef struct lumox_signon {
    const char* type;      /* sign-on type: "Runtime" (default), "Do_mpf" or any signature */
    const char* program;   /* the program's name as the collector shows it; "unknown" */
    int binary;            /* nonzero: binary handshake; the collector numbers the client by its pid */
    const char* signature; /* tagged-handshake signature, at least 3 characters; the type */
    long pid;              /* process id sent; this process */
    const char* uid;       /* user id (decimal text); this process's real user id */
    const char* host;      /* host name; this host */
    const char* time;      /* sign-on time text; now, "YYYY-MM-DD HH:MM:SS" */
    int port;              /* only this port; the collector's ports: 3255, or LUMOX_PORT when it
                              is 1025 or more, and the nine after it */
    int timeout_ms;        /* how long to wait for the collector's answer; 10000 */
} lumox_signon;

/* One error record. Zero means the default, as above. */
typedef struct lumox_error {
    const char* source;   /* message source; "Runtime" */
    const char* host;     /* host name; this host */
    const char* date;     /* date text; today, "YYYY-MM-DD" */
    const char* time;     /* time text (the collector sorts by it); now, "HH:MM:SS" */
    long pid;             /* process id; the sign-on's */
    const char* tid;      /* thread id; "0", which means a program without threads */
    const char* category; /* error category; empty */
    const char* file;     /* source file path; "unknown" */
    int line;             /* source line; 0 or less sends "unknown" */
    const char* body;     /* the report's text, lines separated by '\n'; empty */
} lumox_error;

/* One line of a stack trace. */
typedef struct lumox_frame {
    const char* file; /* source file path; NULL or "" for none */
    int line;         /* source line */
    const char* text; /* what the line shows, e.g. "  main()"; NULL for none */
} lumox_frame;

/* The collector's first port: 3255, or LUMOX_PORT when atoi of it is 1025 or more. */
int lumox_base_port(void);

/* Connects, runs the handshake and sends the sign-on record; *client is the
 * new client, or NULL on failure. A NULL signon takes every default. Ports
 * whose collector refuses (another user's) or does not answer are passed
 * over; the result then tells why none was found. */
int lumox_connect(lumox_client** client, const lumox_signon* signon);

/* The number the collector gave the client (its pid for a binary handshake). */
long lumox_client_token(const lumox_client* client);
/* The port the client is connected to. */
int lumox_client_port(const lumox_client* client);

/* Sends one error record. */
int lumox_send_error(lumox_client* client, const lumox_error* error);

/* Appends a stack-trace block to *body (a malloc'd text, or NULL for an empty
 * one), reallocating it: "<BEGINSTACKTRACE>", one line "<file:line>text" per
 * frame, "<ENDSTACKTRACE>". The block starts on a line of its own and ends
 * without a newline. A file name should hold neither ':' nor '>'. */
int lumox_append_trace(char** body, const lumox_frame* frames, int n);

/* Waits until the collector closes the connection (LUMOX_EIO), or until
 * timeout_ms pass or a signal arrives (LUMOX_OK either way); a negative
 * timeout_ms waits without limit. The collector never writes after the
 * handshake, so this only watches for the end. */
int lumox_wait(lumox_client* client, int timeout_ms);

/* Closes the connection and frees the client; a NULL client is ignored. */
int lumox_close(lumox_client* client);

/* ---- static-analysis clients ------------------------------------------
 *
 * A static analyser signs on with the tagged handshake and the signature and
 * type "Zentrix" (lumox_signon: type = signature = "Zentrix", program = the
 * file analysed). It then sends the analysed command once
 * (lumox_send_zx_context), so that the collector can run it again and find
 * the suppressions named on it, and one record per violation
 * (lumox_send_violation). docs/static-analysis-protocol.md describes the
 * records byte by byte. */

/* One violation. Zero means the default, as above. */
typedef struct lumox_violation {
    const char* source;     /* analyser name; "Zentrix" (never "command line", "environment" or "cwd") */
    const char* host;       /* host name; this host */
    const char* date;       /* date text; today */
    const char* time;       /* time text; now */
    long pid;               /* process id; the sign-on's */
    int item;               /* rule item number; the category sent is "EffC++" and this number */
    int severity;           /* 1 informational, 2 possible violation, 3 violation, 4 possible severe
                               violation, 5 severe violation */
    const char* class_name; /* class the violation is in, e.g. "Holder<int>"; empty for none */
    const char* file;       /* source file path; "unknown" */
    int line;               /* source line; 0 or less sends "unknown" */
    const char* item_text;  /* the rule's title; empty */
    const char* rule_set;   /* the rule set the item number counts in; "Effective C++" */
    const char* body;       /* the report's text; empty */
} lumox_violation;

/* Sends the analysed command: `argc` arguments of `argv`, the environment
 * `envp` (NULL-terminated; NULL sends this process's environment) and the
 * working directory `cwd` (NULL sends this process's). Three records. */
int lumox_send_zx_context(lumox_client* client, int argc, const char* const* argv, const char* const* envp,
                          const char* cwd);

/* Sends one violation. LUMOX_EINVAL for a severity outside 1 to 5 or a
 * negative item. */
int lumox_send_violation(lumox_client* client, const lumox_violation* violation);

/* A text for a result code. */
const char* lumox_strerror(int code);

#ifdef __cplusplus
}
#endif
