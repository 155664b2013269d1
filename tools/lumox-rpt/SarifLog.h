#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

class NetClient;

// One SARIF 2.1.0 log built from saved client sessions, for the code-scanning
// services teams already run: a run per session, a result per message, the
// stack traces of a message as its code flows. It reads the sessions it is
// given and keeps none of them; it owns only the JSON it builds.
class SarifLog {
public:
    SarifLog();

    // Adds the session as one run, suppressed messages included. 0, or -1
    // for a client without a sign-on record (nothing added).
    int add(NetClient* client);
    int runs() const { return static_cast<int>(_log.at("runs").size()); }
    // The log as indented JSON text. Texts from the report are taken as
    // UTF-8; bytes that are not come out as U+FFFD instead of failing.
    std::string text() const;

private:
    nlohmann::ordered_json _log;
    // How many runs each automation category has had, so that two sessions
    // of one program stay apart.
    std::map<std::string, int> _categories;
};
