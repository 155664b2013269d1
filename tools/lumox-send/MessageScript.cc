#include "tools/lumox-send/MessageScript.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "tools/lumox-client/lumox_client.h"

void splitLocation(const std::string& where, std::string* path, int* line)
{
    size_t colon = where.rfind(':');
    if (colon != std::string::npos && colon + 1 < where.size() &&
        where.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
        *path = where.substr(0, colon);
        *line = atoi(where.c_str() + colon + 1);
    } else {
        *path = where;
        *line = 0;
    }
}

void BodyBuilder::line(const std::string& text)
{
    closeTrace();
    if (!_body.empty())
        _body += "\n";
    _body += text;
}

void BodyBuilder::trace(const std::string& where)
{
    size_t blank = where.find(' ');
    Frame f;
    splitLocation(where.substr(0, blank), &f.file, &f.line);
    f.text = blank == std::string::npos ? "" : where.substr(blank + 1);
    _frames.push_back(f);
}

void BodyBuilder::closeTrace()
{
    if (_frames.empty())
        return;
    std::vector<lumox_frame> frames;
    for (const Frame& f : _frames)
        frames.push_back({f.file.c_str(), f.line, f.text.c_str()});
    char* body = strdup(_body.c_str());
    if (body && lumox_append_trace(&body, frames.data(), static_cast<int>(frames.size())) == LUMOX_OK)
        _body = body;
    free(body);
    _frames.clear();
}

std::string BodyBuilder::text()
{
    closeTrace();
    return _body;
}

namespace {
std::string trimRight(const std::string& s)
{
    size_t end = s.find_last_not_of(" \t\r");
    return end == std::string::npos ? "" : s.substr(0, end + 1);
}
}  // namespace

int MessageScript::parse(const std::string& text, const std::string& origin)
{
    std::vector<OutgoingMessage> found;
    OutgoingMessage m;
    BodyBuilder body;
    bool open = false;
    int categoryLine = 0;
    int startLine = 0;
    int number = 0;
    size_t pos = 0;
    auto fail = [&](int at, const std::string& why) {
        _error = origin + ":" + std::to_string(at) + ": " + why;
        return -1;
    };
    auto finish = [&]() {
        if (!open)
            return true;
        if (!categoryLine)
            return false;
        m.body = body.text();
        found.push_back(m);
        m = OutgoingMessage();
        body = BodyBuilder();
        open = false;
        categoryLine = 0;
        return true;
    };
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        pos = end + 1;
        ++number;
        if (trimRight(line).empty() || line[0] == '#') {
            if (end == text.size())
                break;
            continue;
        }
        if (trimRight(line) == "---") {
            if (!finish())
                return fail(startLine, "message without a category");
            continue;
        }
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            return fail(number, "expected \"key: value\", got \"" + line + "\"");
        std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 1);
        // One blank after the colon separates; the rest belongs to the value.
        if (!value.empty() && value[0] == ' ')
            value.erase(0, 1);
        if (!open)
            startLine = number;
        open = true;
        if (key == "category") {
            m.category = trimRight(value);
            categoryLine = number;
        } else if (key == "file") {
            splitLocation(trimRight(value), &m.file, &m.line);
        } else if (key == "thread") {
            m.thread = trimRight(value);
        } else if (key == "source") {
            m.source = trimRight(value);
        } else if (key == "date") {
            m.date = trimRight(value);
        } else if (key == "time") {
            m.time = trimRight(value);
        } else if (key == "body") {
            body.line(value);
        } else if (key == "trace") {
            if (trimRight(value).empty())
                return fail(number, "trace line without a location");
            body.trace(value);
        } else {
            return fail(number, "unknown key \"" + key + "\"");
        }
        if (end == text.size())
            break;
    }
    if (!finish())
        return fail(startLine, "message without a category");
    _messages.insert(_messages.end(), found.begin(), found.end());
    return 0;
}

const char* usageText()
{
    return "Usage: lumox-send [OPTION]... [FILE]...\n"
           "Signs on to the Lumox collector and sends it error messages.\n"
           "\n"
           "  -T, --type TYPE          sign-on type: Runtime (default), Do_mpf, or any\n"
           "                           signature of at least 3 characters\n"
           "  -p, --program NAME       program name on the sign-on line (default: lumox-send)\n"
           "  -B, --binary             binary handshake: the collector numbers the client\n"
           "                           by its process id instead of giving it a number\n"
           "  -P, --port N             use port N only (default: 3255, or LUMOX_PORT when\n"
           "                           it is 1025 or more, and the nine ports after it)\n"
           "  -c, --category TEXT      send one message with this category; -f, -t, -b\n"
           "                           and -s describe it further\n"
           "  -f, --file PATH[:LINE]   its source location\n"
           "  -t, --thread ID          its thread id (0, the default, means no threads)\n"
           "  -b, --body TEXT          a body line (repeatable)\n"
           "  -s, --trace 'PATH:LINE TEXT'  a stack-trace line (repeatable)\n"
           "  -n, --repeat N           send every message N times\n"
           "  -w, --wait               stay connected after sending until interrupted\n"
           "                           (SIGINT or SIGTERM close the connection cleanly)\n"
           "  -q, --quiet              print nothing but errors\n"
           "  -h, --help               show this help\n"
           "\n"
           "FILE holds messages in the format below; \"-\" is standard input. Without -c\n"
           "and without FILE the messages are read from standard input (give /dev/null\n"
           "to sign on without messages).\n"
           "\n"
           "Message format: one \"key: value\" per line; a line \"---\" ends a message;\n"
           "blank lines and lines starting with '#' are ignored. Keys:\n"
           "  category: TEXT           the error category (required)\n"
           "  file: PATH[:LINE]        source location (default: unknown)\n"
           "  thread: ID               thread id (default: 0, no threads)\n"
           "  source: TEXT             message source (default: Runtime)\n"
           "  date: TEXT, time: TEXT   date and time texts (default: now)\n"
           "  body: TEXT               one line of the message body\n"
           "  trace: PATH:LINE TEXT    one stack-trace line; trace lines in a row form\n"
           "                           one trace block in the body\n"
           "Example:\n"
           "  category: ABW\n"
           "  file: src/buffer.c:42\n"
           "  body: Array bounds write: 4 bytes past the end of a 16-byte block\n"
           "  trace: src/buffer.c:42   fill_buffer()\n"
           "  trace: src/main.c:7   main()\n"
           "  ---\n"
           "  category: MLK\n"
           "  body: Memory leak of 128 bytes\n"
           "\n"
           "Exit status: 0 when everything was sent, 1 when the collector could not be\n"
           "reached or the connection failed, 2 for a bad command line or message file.\n";
}
