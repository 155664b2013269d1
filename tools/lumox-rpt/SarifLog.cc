#include "tools/lumox-rpt/SarifLog.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/NetClient.h"
#include "app/records/ZxErrMsg.h"
#include "qip/Common/qipExec.h"

using Json = nlohmann::ordered_json;

namespace {

const char schemaUri[] = "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";
const char beginMarker[] = "<BEGINSTACKTRACE>";
const char endMarker[] = "<ENDSTACKTRACE>";
const char blanks[] = " \t\r\n\f\v";

// One line of a stack-trace block; `file` is empty when the line names none.
struct Frame {
    std::string file;
    int line = 0;
    std::string text;
};

// One stack-trace block, with the last line of text above it, which says
// what the trace is ("freed by thread T0 here:").
struct Trace {
    std::string caption;
    std::vector<Frame> frames;
};

// A message body taken apart: the text outside the trace blocks, and the blocks.
struct Body {
    std::string text;
    std::vector<Trace> traces;
};

std::string trimmed(const std::string& s)
{
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// A line number or process id as SARIF wants it: 1 or more, else 0.
int positive(const std::string& s)
{
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return atoi(s.c_str());
}

bool knownFile(const std::string& file) { return !file.empty() && file != "unknown"; }

// A frame line as the body pane reads it: "<file:line>text", cut at the first
// ':' and the first '>' after it. Any other line is text without a location.
Frame parseFrame(const std::string& line)
{
    Frame f;
    f.text = line;
    if (line.empty() || line[0] != '<')
        return f;
    size_t colon = line.find(':', 1);
    size_t close = colon == std::string::npos ? colon : line.find('>', colon + 1);
    if (close == std::string::npos)
        return f;
    f.file = line.substr(1, colon - 1);
    f.line = positive(line.substr(colon + 1, close - colon - 1));
    f.text = line.substr(close + 1);
    return f;
}

// Splits a body at its trace markers the way the body pane does: a block runs
// from a line starting "<BEGINSTACKTRACE>" to one starting "<ENDSTACKTRACE",
// or to the end of a body that never closes it.
Body splitBody(const char* text)
{
    Body b;
    std::string caption;
    bool inTrace = false;
    for (const char* p = text;;) {
        const char* end = strchr(p, '\n');
        std::string line(p, end ? static_cast<size_t>(end - p) : strlen(p));
        if (!inTrace && strncmp(line.c_str(), beginMarker, 17) == 0) {
            b.traces.push_back(Trace{trimmed(caption), {}});
            caption.clear();
            inTrace = true;
        } else if (!inTrace) {
            b.text += line + "\n";
            if (!trimmed(line).empty())
                caption = line;
        } else if (strncmp(line.c_str(), endMarker, 14) == 0) {
            inTrace = false;
        } else {
            b.traces.back().frames.push_back(parseFrame(line));
        }
        if (!end)
            break;
        p = end + 1;
    }
    b.text.erase(b.text.find_last_not_of(blanks) + 1);
    return b;
}

std::string firstLine(const std::string& text)
{
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        std::string line = trimmed(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (!line.empty() || end == std::string::npos)
            return line;
        at = end + 1;
    }
    return "";
}

// Absolute paths become file URIs, relative ones stay relative (to the
// checkout, as code-scanning services resolve them). Everything but the
// unreserved characters and '/' is percent-encoded, which also keeps a ':' in
// the first segment from reading as a scheme and any byte that is not UTF-8
// out of the URI.
std::string uriOf(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = !path.empty() && path[0] == '/' ? "file://" : "";
    for (unsigned char c : path) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

Json physicalLocation(const std::string& file, int line)
{
    Json p;
    p["artifactLocation"]["uri"] = uriOf(file);
    if (line > 0)
        p["region"]["startLine"] = line;
    return p;
}

// Runtime findings are errors; a violation's severity (1 to 5) picks the
// level, and one out of range is a warning.
const char* level(const ZxErrMsg* z)
{
    if (!z)
        return "error";
    int severity = z->severity();
    if (severity == 1)
        return "note";
    return severity >= 4 && severity <= 5 ? "error" : "warning";
}

// The rules of one run: each error category once, in the order first met.
struct Rules {
    Json list = Json::array();
    std::map<std::string, int> index;

    int indexOf(const std::string& id, const ZxErrMsg* z)
    {
        auto known = index.find(id);
        if (known != index.end())
            return known->second;
        Json rule;
        rule["id"] = id;
        if (z && !z->_itemText.empty())
            rule["shortDescription"]["text"] = z->_itemText.text();
        list.push_back(std::move(rule));
        return index[id] = static_cast<int>(list.size() - 1);
    }
};

Json codeFlows(const std::vector<Trace>& traces)
{
    Json flows = Json::array();
    for (const Trace& t : traces) {
        // A threadFlow needs at least one location.
        if (t.frames.empty())
            continue;
        Json steps = Json::array();
        for (const Frame& f : t.frames) {
            Json where = Json::object();
            if (knownFile(f.file))
                where["physicalLocation"] = physicalLocation(f.file, f.line);
            std::string text = trimmed(f.text);
            if (!text.empty())
                where["message"]["text"] = text;
            Json step;
            step["location"] = std::move(where);
            steps.push_back(std::move(step));
        }
        Json flow;
        if (!t.caption.empty())
            flow["message"]["text"] = t.caption;
        Json& thread = flow["threadFlows"][0];
        thread["locations"] = std::move(steps);
        flows.push_back(std::move(flow));
    }
    return flows;
}

Json result(ErrorMsg* m, const std::string& checker, Rules& rules)
{
    // Only a violation has a severity, a class and a rule set to report.
    const ZxErrMsg* z = dynamic_cast<const ZxErrMsg*>(m);
    std::string category = m->_errorCategory.empty() ? "unknown" : m->_errorCategory.text();
    // A violation's shown body repeats its header; what the sender said is
    // the message.
    Body body = splitBody(m->originalBody());
    std::string first = firstLine(body.text);

    Json r;
    r["ruleId"] = category;
    r["ruleIndex"] = rules.indexOf(category, z);
    r["level"] = level(z);
    r["message"]["text"] = first.empty() ? category : first;
    if (knownFile(m->_filename.text())) {
        std::string dir = m->_filepath.text();
        std::string file = dir.empty() ? m->_filename.text() : dir + "/" + m->_filename.text();
        r["locations"][0]["physicalLocation"] = physicalLocation(file, positive(m->_lineno.text()));
    } else {
        // Code-scanning services refuse a result without a location: a
        // finding whose place is unknown takes the first frame that has one.
        for (const Trace& t : body.traces)
            for (const Frame& f : t.frames)
                if (!r.contains("locations") && knownFile(f.file))
                    r["locations"][0]["physicalLocation"] = physicalLocation(f.file, f.line);
    }
    Json flows = codeFlows(body.traces);
    if (!flows.empty())
        r["codeFlows"] = std::move(flows);
    if (m->_suppressed == Yes)
        r["suppressions"][0]["kind"] = "external";

    Json& p = r["properties"];
    p["thread"] = m->_tid.text();
    p["pid"] = m->_pid.text();
    p["host"] = m->_host.text();
    p["date"] = m->_date.text();
    p["time"] = m->_time.text();
    if (checker != m->_msgSrc.text())
        p["checker"] = m->_msgSrc.text();
    if (z) {
        p["severity"] = z->severity();
        p["class"] = z->_class.text();
        p["ruleSet"] = z->_ruleSet.text();
    }
    if (!body.text.empty())
        p["body"] = body.text;
    return r;
}

bool isSummary(ErrorMsg* m)
{
    std::string category = m->_errorCategory.empty() ? "" : m->_errorCategory.text();
    const std::string tail = "_summary";
    return category.size() > tail.size() && category.compare(category.size() - tail.size(), tail.size(), tail) == 0;
}

Json notification(ErrorMsg* m)
{
    Body body = splitBody(m->_body.text());
    std::string first = firstLine(body.text);
    Json n;
    n["descriptor"]["id"] = m->_errorCategory.text();
    n["level"] = "note";
    n["message"]["text"] = first.empty() ? std::string(m->_errorCategory.text()) : first;
    if (!body.text.empty())
        n["properties"]["body"] = body.text;
    return n;
}

Json invocation(NetClient* client)
{
    ConxnMsg* s = client->_signature;
    Json inv;
    inv["executionSuccessful"] = true;
    // A static analysis keeps the command it analysed; a runtime session
    // knows only its program.
    const qipExec* command = client->analysedCommand();
    if (command && command->argv()) {
        Json args = Json::array();
        std::string line;
        for (int k = 0; k < command->argc(); ++k) {
            const char* arg = command->argv()[k];
            if (!arg)
                break;
            args.push_back(arg);
            line += (k ? " " : "") + std::string(arg);
        }
        inv["commandLine"] = line;
        inv["arguments"] = std::move(args);
    }
    const char* cwd = command ? command->workingDirectory() : nullptr;
    if (cwd && cwd[0] == '/')
        inv["workingDirectory"]["uri"] = uriOf(cwd);
    if (!s->_host.empty())
        inv["machine"] = s->_host.text();
    if (int pid = positive(s->_pid.text()))
        inv["processId"] = pid;
    return inv;
}

}  // namespace

SarifLog::SarifLog()
{
    _log["$schema"] = schemaUri;
    _log["version"] = "2.1.0";
    _log["runs"] = Json::array();
}

int SarifLog::add(NetClient* client)
{
    if (!client || !client->_signature)
        return -1;
    ConxnMsg* s = client->_signature;
    // The driver is the checker that found the messages; a session without
    // any is named by its kind of client.
    std::string checker;
    for (ListIterator<ErrorMsg*> i(client->_messages); i.valid() && checker.empty(); i.next())
        checker = i.current()->_msgSrc.text();
    if (checker.empty())
        checker = s->_type.empty() ? "lumox" : s->_type.text();

    Rules rules;
    Json results = Json::array();
    Json notes = Json::array();
    for (ListIterator<ErrorMsg*> i(client->_messages); i.valid(); i.next()) {
        // A summary (LEAK_summary, EXIT_summary) says something about the
        // run, not about a place in the code: it is a note of the run's
        // invocation, not a result.
        if (isSummary(i.current()))
            notes.push_back(notification(i.current()));
        else
            results.push_back(result(i.current(), checker, rules));
    }

    // Code-scanning services keep one analysis per tool and category: the
    // program names the category, so that it is the same in every build,
    // and the pid the instance.
    std::string program = s->_filename.empty() ? "unknown" : s->_filename.text();
    std::string category = "lumox/" + program;
    int seen = ++_categories[checker + '\n' + program];
    if (seen > 1)
        category += "-" + std::to_string(seen);

    Json run;
    run["tool"]["driver"]["name"] = checker;
    run["tool"]["driver"]["rules"] = std::move(rules.list);
    run["invocations"][0] = invocation(client);
    if (!notes.empty())
        run["invocations"][0]["toolExecutionNotifications"] = std::move(notes);
    run["conversion"]["tool"]["driver"]["name"] = "lumox";
    run["automationDetails"]["id"] = category + "/" + s->_pid.text();
    run["results"] = std::move(results);
    run["properties"]["signOn"] = s->id();
    run["properties"]["program"] = s->_filename.text();
    run["properties"]["pid"] = s->_pid.text();
    run["properties"]["time"] = s->_time.text();
    _log["runs"].push_back(std::move(run));
    return 0;
}

std::string SarifLog::text() const
{
    std::string text = _log.dump(2, ' ', false, Json::error_handler_t::replace);
    text += '\n';
    return text;
}
