#pragma once

#include <string>

#include "tools/lumox-client/lumox_client.h"

// The header texts of the records a runtime client sends, in the bracketed
// layout the collector parses. The client library sends them; lumox-run
// also writes them into report files, so they are made in one place.
namespace lumox_record {

// This host's name, and the local time in a strftime format.
std::string hostName();
std::string now(const char* format);

// One bracketed header field; a '>' would end the bracket early and is sent as '?'.
std::string field(const char* text, const std::string& fallback);

// The sign-on header: type, pid, program, uid, host and time, each already
// defaulted by the caller.
std::string signOnHeader(const std::string& type, const std::string& pid, const std::string& program,
                         const std::string& uid, const std::string& host, const std::string& time);

// The header of an error record, with the library's defaults for what
// `error` leaves zero; `pid` is the sign-on's, used when error->pid is 0.
std::string errorHeader(const lumox_error& error, const std::string& pid);

}  // namespace lumox_record
