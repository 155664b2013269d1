// lumox-send: signs on to the Lumox collector and sends it error messages
// described on the command line or in message files (see usageText()).

#include <getopt.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/lumox-client/lumox_client.h"
#include "tools/lumox-send/MessageScript.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

int usageError(const std::string& why)
{
    fprintf(stderr, "lumox-send: %s\nTry 'lumox-send --help'.\n", why.c_str());
    return 2;
}

bool readAll(const std::string& path, std::string* text)
{
    std::ostringstream s;
    if (path == "-") {
        s << std::cin.rdbuf();
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        s << in.rdbuf();
    }
    *text = s.str();
    return true;
}

const char* orNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

bool positiveNumber(const char* text, int* value)
{
    char* end = nullptr;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno || !end || *end || v <= 0 || v > 1000000000L)
        return false;
    *value = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    static const struct option longOptions[] = {
        {"type", required_argument, nullptr, 'T'},   {"program", required_argument, nullptr, 'p'},
        {"binary", no_argument, nullptr, 'B'},       {"port", required_argument, nullptr, 'P'},
        {"category", required_argument, nullptr, 'c'}, {"file", required_argument, nullptr, 'f'},
        {"thread", required_argument, nullptr, 't'}, {"body", required_argument, nullptr, 'b'},
        {"trace", required_argument, nullptr, 's'},  {"repeat", required_argument, nullptr, 'n'},
        {"wait", no_argument, nullptr, 'w'},         {"quiet", no_argument, nullptr, 'q'},
        {"help", no_argument, nullptr, 'h'},         {nullptr, 0, nullptr, 0}};

    lumox_signon signon;
    memset(&signon, 0, sizeof signon);
    std::string type = "Runtime", program = "lumox-send";
    bool haveCommandMessage = false, stay = false, quiet = false;
    int repeat = 1;
    OutgoingMessage commandMessage;
    BodyBuilder commandBody;

    int opt;
    while ((opt = getopt_long(argc, argv, "T:p:BP:c:f:t:b:s:n:wqh", longOptions, nullptr)) != -1) {
        switch (opt) {
        case 'T':
            type = optarg;
            break;
        case 'p':
            program = optarg;
            break;
        case 'B':
            signon.binary = 1;
            break;
        case 'P':
            if (!positiveNumber(optarg, &signon.port) || signon.port > 65535)
                return usageError(std::string("bad port \"") + optarg + "\"");
            break;
        case 'c':
            haveCommandMessage = true;
            commandMessage.category = optarg;
            break;
        case 'f':
            splitLocation(optarg, &commandMessage.file, &commandMessage.line);
            break;
        case 't':
            commandMessage.thread = optarg;
            break;
        case 'b':
            commandBody.line(optarg);
            break;
        case 's':
            commandBody.trace(optarg);
            break;
        case 'n':
            if (!positiveNumber(optarg, &repeat))
                return usageError(std::string("bad repeat count \"") + optarg + "\"");
            break;
        case 'w':
            stay = true;
            break;
        case 'q':
            quiet = true;
            break;
        case 'h':
            fputs(usageText(), stdout);
            return 0;
        default:
            return usageError("unknown option");
        }
    }
    if (!signon.binary && type.size() < 3)
        return usageError("the type must have at least 3 characters for a tagged handshake");

    // Everything is read and checked before connecting: a bad file sends nothing.
    MessageScript script;
    if (haveCommandMessage)
        commandMessage.body = commandBody.text();
    std::vector<std::string> files(argv + optind, argv + argc);
    if (files.empty() && !haveCommandMessage)
        files.push_back("-");
    std::vector<OutgoingMessage> messages;
    if (haveCommandMessage)
        messages.push_back(commandMessage);
    for (const std::string& f : files) {
        std::string text;
        if (!readAll(f, &text)) {
            fprintf(stderr, "lumox-send: cannot read %s: %s\n", f.c_str(), strerror(errno));
            return 2;
        }
        if (script.parse(text, f == "-" ? "standard input" : f) != 0) {
            fprintf(stderr, "lumox-send: %s\n", script.error().c_str());
            return 2;
        }
    }
    messages.insert(messages.end(), script.messages().begin(), script.messages().end());

    signal(SIGPIPE, SIG_IGN);
    signon.type = type.c_str();
    signon.program = program.c_str();
    lumox_client* client = nullptr;
    int r = lumox_connect(&client, &signon);
    if (r != LUMOX_OK) {
        fprintf(stderr, "lumox-send: %s\n", lumox_strerror(r));
        return 1;
    }
    if (!quiet) {
        printf("lumox-send: connected to port %d as client %ld\n", lumox_client_port(client),
               lumox_client_token(client));
        fflush(stdout);
    }

    int sent = 0;
    for (int k = 0; k < repeat && r == LUMOX_OK; ++k)
        for (const OutgoingMessage& m : messages) {
            lumox_error e;
            memset(&e, 0, sizeof e);
            e.category = m.category.c_str();
            e.file = orNull(m.file);
            e.line = m.line;
            e.tid = orNull(m.thread);
            e.source = orNull(m.source);
            e.date = orNull(m.date);
            e.time = orNull(m.time);
            e.body = m.body.c_str();
            r = lumox_send_error(client, &e);
            if (r != LUMOX_OK)
                break;
            ++sent;
        }
    if (r != LUMOX_OK) {
        fprintf(stderr, "lumox-send: %s (after %d messages)\n", lumox_strerror(r), sent);
        lumox_close(client);
        return 1;
    }
    if (!quiet) {
        printf("lumox-send: %d message%s sent\n", sent, sent == 1 ? "" : "s");
        fflush(stdout);
    }

    if (stay) {
        struct sigaction stop;
        memset(&stop, 0, sizeof stop);
        stop.sa_handler = requestStop;
        sigemptyset(&stop.sa_mask);
        // No SA_RESTART: the signal must end the wait at once.
        sigaction(SIGINT, &stop, nullptr);
        sigaction(SIGTERM, &stop, nullptr);
        while (!stopRequested) {
            if (lumox_wait(client, 500) == LUMOX_EIO) {
                fprintf(stderr, "lumox-send: the collector closed the connection\n");
                lumox_close(client);
                return 1;
            }
        }
    }
    lumox_close(client);
    return 0;
}
