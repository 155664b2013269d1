#include "tools/lumox-client/lumox_client.h"

#include "tools/lumox-client/RecordText.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <new>
#include <vector>
#include <string>

namespace {

// Everything the handshake and the sign-on record need, defaults filled in.
struct SignOn {
    std::string type, program, signature, pid, uid, host, time;
    bool binary;
    int timeoutMs;
};

}  // namespace

// One connection to the collector. The mutex keeps the records of several
// threads from interleaving on the wire. `owner` is the process that
// connected: a child forked from it must not write on its parent's
// connection, so it signs on anew (see ownConnection).
struct lumox_client {
    int fd;
    int port;
    long token;
    std::string pid;
    pid_t owner;
    SignOn signOn;
    std::mutex sending;
};

namespace {

using lumox_record::field;
using lumox_record::hostName;
using lumox_record::now;

const int DefaultTimeoutMs = 10000;

void putInt(std::string& out, int32_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }

void putText(std::string& out, const std::string& text)
{
    putInt(out, static_cast<int32_t>(text.size() + 1));
    out.append(text);
    out.push_back('\0');
}

std::string frame(const std::string& record)
{
    std::string out;
    putInt(out, static_cast<int32_t>(record.size()));
    return out + record;
}

int sendAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return LUMOX_EIO;
        done += static_cast<size_t>(n);
    }
    return LUMOX_OK;
}

// Waits up to timeoutMs for the four-byte answer.
int readAnswer(int fd, int timeoutMs, int32_t* answer)
{
    using namespace std::chrono;
    auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    size_t got = 0;
    char bytes[sizeof(int32_t)];
    while (got < sizeof bytes) {
        int left = static_cast<int>(duration_cast<milliseconds>(deadline - steady_clock::now()).count());
        if (left <= 0)
            return LUMOX_EPROTOCOL;
        struct pollfd p = {fd, POLLIN, 0};
        int r = poll(&p, 1, left);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return LUMOX_EPROTOCOL;
        ssize_t n = recv(fd, bytes + got, sizeof bytes - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return LUMOX_EPROTOCOL;
        got += static_cast<size_t>(n);
    }
    memcpy(answer, bytes, sizeof bytes);
    return LUMOX_OK;
}

int connectLoopback(int port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<unsigned short>(port));
    int r;
    do
        r = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    while (r < 0 && errno == EINTR);
    if (r < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Tries one port: LUMOX_OK with *fd and *token set, or why not.
int tryPort(int port, const SignOn& s, int* fd, long* token)
{
    int sock = connectLoopback(port);
    if (sock < 0)
        return LUMOX_ENOCOLLECTOR;
    std::string hello;
    int32_t uid = static_cast<int32_t>(atol(s.uid.c_str()));
    if (s.binary)
        putInt(hello, uid);
    else
        hello = "<" + s.signature + "> " + s.uid;
    int32_t answer = 0;
    int r = sendAll(sock, hello);
    if (r == LUMOX_OK)
        r = readAnswer(sock, s.timeoutMs, &answer);
    // A binary handshake is accepted by the echo of the user id, which for
    // root is 0 like a refusal.
    if (r == LUMOX_OK && (s.binary ? answer != uid : answer == 0))
        r = LUMOX_EREFUSED;
    if (r == LUMOX_OK) {
        std::string record;
        putText(record, lumox_record::signOnHeader(s.type, s.pid, s.program, s.uid, s.host, s.time));
        r = sendAll(sock, frame(record));
    }
    if (r != LUMOX_OK) {
        close(sock);
        return r;
    }
    *fd = sock;
    *token = s.binary ? atol(s.pid.c_str()) : static_cast<long>(answer);
    return LUMOX_OK;
}

// Makes sure the calling process writes on a connection of its own. After
// a fork the child shares its parent's socket: records of both would
// interleave on it and the collector would drop the session. The child
// leaves that socket to the parent and signs on anew, on the same port, as
// a session of its own with its own pid. Called with the client's mutex held.
int ownConnection(lumox_client* client)
{
    if (client->owner == getpid())
        return client->fd < 0 ? LUMOX_EIO : LUMOX_OK;
    if (client->fd >= 0)
        close(client->fd);
    client->fd = -1;
    client->owner = getpid();
    SignOn s = client->signOn;
    s.pid = std::to_string(static_cast<long>(getpid()));
    s.time = now("%Y-%m-%d %H:%M:%S");
    int fd = -1;
    long token = 0;
    int r = tryPort(client->port, s, &fd, &token);
    if (r != LUMOX_OK)
        return r;
    client->fd = fd;
    client->token = token;
    client->pid = s.pid;
    client->signOn = s;
    return LUMOX_OK;
}

}  // namespace

extern "C" int lumox_base_port(void)
{
    const char* env = getenv("LUMOX_PORT");
    if (env && atoi(env) >= 1025)
        return atoi(env);
    return LUMOX_DEFAULT_PORT;
}

extern "C" int lumox_connect(lumox_client** client, const lumox_signon* signon)
{
    if (!client)
        return LUMOX_EINVAL;
    *client = nullptr;
    lumox_signon none;
    memset(&none, 0, sizeof none);
    const lumox_signon& in = signon ? *signon : none;

    SignOn s;
    s.type = in.type ? in.type : "Runtime";
    s.program = in.program ? in.program : "unknown";
    s.signature = in.signature ? in.signature : s.type;
    s.binary = in.binary != 0;
    s.pid = std::to_string(in.pid ? in.pid : static_cast<long>(getpid()));
    s.uid = in.uid ? in.uid : std::to_string(getuid());
    s.host = in.host ? in.host : hostName();
    s.time = in.time ? in.time : now("%Y-%m-%d %H:%M:%S");
    s.timeoutMs = in.timeout_ms > 0 ? in.timeout_ms : DefaultTimeoutMs;
    // The collector looks for the first '>' from the fifth byte on: a shorter
    // signature would read as a binary handshake.
    if (!s.binary && (s.signature.size() < 3 || s.signature.find('>') != std::string::npos))
        return LUMOX_EINVAL;
    if (in.port < 0 || in.port > 65535)
        return LUMOX_EINVAL;

    int first = in.port ? in.port : lumox_base_port();
    int count = in.port ? 1 : LUMOX_PORTS_TRIED;
    int worst = LUMOX_ENOCOLLECTOR;
    for (int k = 0; k < count; ++k) {
        int fd = -1;
        long token = 0;
        int r = tryPort(first + k, s, &fd, &token);
        if (r == LUMOX_OK) {
            lumox_client* c = new (std::nothrow) lumox_client;
            if (!c) {
                close(fd);
                return LUMOX_ENOMEM;
            }
            c->fd = fd;
            c->port = first + k;
            c->token = token;
            c->pid = s.pid;
            c->owner = getpid();
            c->signOn = s;
            *client = c;
            return LUMOX_OK;
        }
        // A refusal says most about why no collector took the client.
        if (r == LUMOX_EREFUSED || (r != LUMOX_ENOCOLLECTOR && worst == LUMOX_ENOCOLLECTOR))
            worst = r;
    }
    return worst;
}

extern "C" long lumox_client_token(const lumox_client* client) { return client ? client->token : 0; }

extern "C" int lumox_client_port(const lumox_client* client) { return client ? client->port : 0; }

extern "C" int lumox_send_error(lumox_client* client, const lumox_error* error)
{
    if (!client || !error)
        return LUMOX_EINVAL;
    std::lock_guard<std::mutex> hold(client->sending);
    int r = ownConnection(client);
    if (r != LUMOX_OK)
        return r;
    std::string record;
    putText(record, lumox_record::errorHeader(*error, client->pid));
    putText(record, error->body ? error->body : "");
    return sendAll(client->fd, frame(record));
}

namespace {
// A violation's class, item text or rule set as a header field: '%' and '>'
// travel as "%25" and "%3E", so that "Holder<int>" arrives whole.
std::string encodedField(const char* text, const std::string& fallback)
{
    std::string out;
    for (char c : std::string(text ? text : fallback.c_str()))
        out += c == '%' ? "%25" : c == '>' ? "%3E" : std::string(1, c);
    return "<" + out + ">";
}

// One record of a static-analysis client: header text, then a body of raw
// bytes (which may hold several NUL-terminated strings).
int sendRecord(lumox_client* client, const std::string& header, const std::string& body)
{
    std::string record;
    putText(record, header);
    putInt(record, static_cast<int32_t>(body.size()));
    record.append(body);
    std::string bytes = frame(record);
    std::lock_guard<std::mutex> hold(client->sending);
    int r = ownConnection(client);
    if (r != LUMOX_OK)
        return r;
    return sendAll(client->fd, bytes);
}

std::string packed(const char* const* strings, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += strings[i] ? strings[i] : "";
        out.push_back('\0');
    }
    return out;
}
}  // namespace

extern "C" int lumox_send_zx_context(lumox_client* client, int argc, const char* const* argv,
                                     const char* const* envp, const char* cwd)
{
    if (!client || argc < 1 || !argv)
        return LUMOX_EINVAL;
    if (!envp)
        envp = environ;
    int envc = 0;
    while (envp && envp[envc])
        ++envc;
    std::string dir;
    if (cwd) {
        dir = cwd;
    } else {
        char* here = getcwd(nullptr, 0);
        if (!here)
            return LUMOX_EINVAL;
        dir = here;
        free(here);
    }
    int r = sendRecord(client, "<command line><" + std::to_string(argc) + ">", packed(argv, argc));
    if (r == LUMOX_OK)
        r = sendRecord(client, "<environment><" + std::to_string(envc) + ">", packed(envp, envc));
    if (r == LUMOX_OK)
        r = sendRecord(client, "<cwd><1>", dir + std::string(1, '\0'));
    return r;
}

extern "C" int lumox_send_violation(lumox_client* client, const lumox_violation* v)
{
    if (!client || !v || v->severity < 1 || v->severity > 5 || v->item < 0)
        return LUMOX_EINVAL;
    const char* source = v->source && *v->source ? v->source : "Zentrix";
    // A reserved name would make the record a context record.
    if (!strcmp(source, "command line") || !strcmp(source, "environment") || !strcmp(source, "cwd"))
        return LUMOX_EINVAL;
    std::string pid = v->pid ? std::to_string(v->pid) : client->pid;
    std::string file = v->file && *v->file ? v->file : "unknown";
    std::string line = v->line > 0 ? std::to_string(v->line) : "unknown";
    std::string category = "EffC++" + std::to_string(v->item);
    std::string severity = std::to_string(v->severity);
    std::string header = field(source, "") + field(v->host, hostName()) + field(v->date, now("%Y-%m-%d")) +
                         field(v->time, now("%H:%M:%S")) + field(pid.c_str(), "") + field("0", "") +
                         field(category.c_str(), "") + field(file.c_str(), "") + field(line.c_str(), "") +
                         encodedField(v->class_name, "") + field(severity.c_str(), "") +
                         encodedField(v->item_text, "") + encodedField(v->rule_set, "Effective C++");
    std::string body = v->body ? v->body : "";
    return sendRecord(client, header, body + std::string(1, '\0'));
}

extern "C" int lumox_append_trace(char** body, const lumox_frame* frames, int n)
{
    if (!body || n < 0 || (n > 0 && !frames))
        return LUMOX_EINVAL;
    std::string block;
    const char* old = *body ? *body : "";
    size_t oldLength = strlen(old);
    if (oldLength && old[oldLength - 1] != '\n')
        block += "\n";
    block += "<BEGINSTACKTRACE>\n";
    for (int i = 0; i < n; ++i) {
        block += "<";
        block += frames[i].file ? frames[i].file : "";
        block += ":" + std::to_string(frames[i].line) + ">";
        block += frames[i].text ? frames[i].text : "";
        block += "\n";
    }
    block += "<ENDSTACKTRACE>";
    char* grown = static_cast<char*>(realloc(*body, oldLength + block.size() + 1));
    if (!grown)
        return LUMOX_ENOMEM;
    memcpy(grown + oldLength, block.c_str(), block.size() + 1);
    *body = grown;
    return LUMOX_OK;
}

extern "C" int lumox_wait(lumox_client* client, int timeout_ms)
{
    if (!client)
        return LUMOX_EINVAL;
    if (client->fd < 0)
        return LUMOX_EIO;
    struct pollfd p = {client->fd, POLLIN, 0};
    int r = poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
    if (r <= 0)
        return LUMOX_OK;
    char bytes[256];
    ssize_t n = recv(client->fd, bytes, sizeof bytes, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
        return LUMOX_EIO;
    return LUMOX_OK;
}

extern "C" int lumox_close(lumox_client* client)
{
    if (!client)
        return LUMOX_OK;
    if (client->fd >= 0)
        close(client->fd);
    delete client;
    return LUMOX_OK;
}

extern "C" const char* lumox_strerror(int code)
{
    switch (code) {
    case LUMOX_OK:
        return "success";
    case LUMOX_ENOCOLLECTOR:
        return "no Lumox collector is listening";
    case LUMOX_EREFUSED:
        return "the Lumox collector refused the connection (it belongs to another user)";
    case LUMOX_EPROTOCOL:
        return "the program on the port did not answer like a Lumox collector";
    case LUMOX_EIO:
        return "the connection to the Lumox collector failed or was closed";
    case LUMOX_EINVAL:
        return "invalid argument";
    case LUMOX_ENOMEM:
        return "out of memory";
    default:
        return "unknown error";
    }
}
