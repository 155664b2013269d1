#include "app/records/ZxErrMsg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>


ZxErrMsg::ZxErrMsg(long token) : ErrorMsg(token), _originalBody(nullptr) {}

ZxErrMsg::~ZxErrMsg() { free(_originalBody); }

const char* ZxErrMsg::severityName(int severity)
{
    static const char* const names[] = {"",          "Informational",             "Possible violation",
                                        "Violation", "Possible severe violation", "Severe violation"};
    return severity >= 1 && severity <= 5 ? names[severity] : "";
}

const char* ZxErrMsg::severityLetters(int severity)
{
    static const char* const letters[] = {nullptr, "I", "PV", "V", "PSV", "SV"};
    return severity >= 1 && severity <= MaxSeverity ? letters[severity] : nullptr;
}

int ZxErrMsg::item() const
{
    const char* category = _errorCategory.text();
    return strlen(category) > 6 ? atoi(category + 6) : 0;
}

int ZxErrMsg::severity() const { return atoi(_severity.text()); }

// The class, item text and rule set of a violation carry '>' and '%' as
// "%3E" and "%25" (a bracket ends at the first '>'). Other '%' are kept, so
// the texts of older clients, which sent '>' as '?', read as they were.
static std::string encoded(const char* text)
{
    std::string out;
    for (const char* c = text; *c; ++c)
        out += *c == '%' ? "%25" : *c == '>' ? "%3E" : std::string(1, *c);
    return out;
}

static void decode(Field& field)
{
    std::string text = field.text();
    if (text.find('%') == std::string::npos)
        return;
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text.compare(k, 3, "%25") == 0) {
            out += '%';
            k += 2;
        } else if (text.compare(k, 3, "%3E") == 0 || text.compare(k, 3, "%3e") == 0) {
            out += '>';
            k += 2;
        } else {
            out += text[k];
        }
    }
    field.set(out.c_str());
}

int ZxErrMsg::extract(char* header)
{
    char* cursor = header;
    extractFields(cursor);
    _class.extract(cursor);
    _severity.extract(cursor);
    _itemText.extract(cursor);
    int r = _ruleSet.extract(cursor);
    decode(_class);
    decode(_itemText);
    decode(_ruleSet);
    return r;
}

char* ZxErrMsg::inject()
{
    char* base = ErrorMsg::inject();
    if (!base)
        return nullptr;
    std::string header = std::string(base) + "<" + encoded(_class.text()) + "><" + _severity.text() + "><" +
                         encoded(_itemText.text()) + "><" + encoded(_ruleSet.text()) + ">";
    free(base);
    return strdup(header.c_str());
}

void ZxErrMsg::setBody(const char* text)
{
    if (!text)
        text = "";
    char* copy = strdup(text);
    if (!copy)
        return;
    free(_originalBody);
    _originalBody = copy;

    std::string shown = _ruleSet.empty() ? "Rule" : _ruleSet.text();
    shown += " item " + std::to_string(item());
    if (!_itemText.empty())
        shown += std::string(": ") + _itemText.text();
    shown += "\nSeverity: ";
    const char* letters = severityLetters(severity());
    shown += letters ? std::string(severityName(severity())) + " (" + letters + ")" : std::string("unknown");
    if (!_class.empty())
        shown += std::string("\nClass: ") + _class.text();
    shown += "\n\n";
    shown += text;
    body(shown.c_str(), static_cast<int>(strlen(text) + 1));
}

const char* ZxErrMsg::id()
{
    if (_text)
        return _text;
    const char *file, *line;
    char separator;
    location(file, separator, line);
    const char* letters = severityLetters(severity());
    char buf[LineSize];
    snprintf(buf, sizeof buf, "   %-10s %-4s %-24s %s %c %s", _errorCategory.text(), letters ? letters : "?",
             _class.text(), file, separator, line);
    text(buf);
    return _text ? _text : "";
}
