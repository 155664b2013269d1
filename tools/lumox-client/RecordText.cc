#include "tools/lumox-client/RecordText.h"

#include <unistd.h>

#include <ctime>

namespace lumox_record {

std::string hostName()
{
    char name[256];
    if (gethostname(name, sizeof name) != 0)
        return "localhost";
    name[sizeof name - 1] = '\0';
    return name;
}

std::string now(const char* format)
{
    time_t t = time(nullptr);
    struct tm local;
    localtime_r(&t, &local);
    char text[64];
    strftime(text, sizeof text, format, &local);
    return text;
}

std::string field(const char* text, const std::string& fallback)
{
    std::string s = text ? text : fallback;
    for (char& c : s)
        if (c == '>')
            c = '?';
    return "<" + s + ">";
}

std::string signOnHeader(const std::string& type, const std::string& pid, const std::string& program,
                         const std::string& uid, const std::string& host, const std::string& time)
{
    return field(type.c_str(), "") + field(pid.c_str(), "") + field(program.c_str(), "") + field(uid.c_str(), "")
           + field(host.c_str(), "") + field(time.c_str(), "");
}

std::string errorHeader(const lumox_error& error, const std::string& pid)
{
    std::string p = error.pid ? std::to_string(error.pid) : pid;
    std::string file = error.file && *error.file ? error.file : "unknown";
    std::string line = error.line > 0 ? std::to_string(error.line) : "unknown";
    return field(error.source, "Runtime") + field(error.host, hostName()) + field(error.date, now("%Y-%m-%d"))
           + field(error.time, now("%H:%M:%S")) + field(p.c_str(), "") + field(error.tid, "0")
           + field(error.category, "") + field(file.c_str(), "") + field(line.c_str(), "");
}

}  // namespace lumox_record
