#include "app/ZxErrMsg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/SuprRec.h"

ZxErrMsg::ZxErrMsg(long token) : ErrorMsg(token), _originalBody(nullptr) {}

ZxErrMsg::~ZxErrMsg() { free(_originalBody); }

const char* ZxErrMsg::severityName(int severity)
{
    static const char* const names[] = {"",          "Informational",             "Possible violation",
                                        "Violation", "Possible severe violation", "Severe violation"};
    return severity >= 1 && severity <= 5 ? names[severity] : "";
}

int ZxErrMsg::item() const
{
    const char* category = _errorCategory.text();
    return strlen(category) > 6 ? atoi(category + 6) : 0;
}

int ZxErrMsg::severity() const { return atoi(_severity.text()); }

int ZxErrMsg::extract(char* header)
{
    char* cursor = header;
    extractFields(cursor);
    _class.extract(cursor);
    _severity.extract(cursor);
    _itemText.extract(cursor);
    return _ruleSet.extract(cursor);
}

char* ZxErrMsg::inject()
{
    char* base = ErrorMsg::inject();
    if (!base)
        return nullptr;
    size_t size = strlen(base) + _class.length() + _severity.length() + _itemText.length() + _ruleSet.length() + 9;
    char* header = static_cast<char*>(malloc(size));
    if (header)
        snprintf(header, size, "%s<%s><%s><%s><%s>", base, _class.text(), _severity.text(), _itemText.text(),
                 _ruleSet.text());
    free(base);
    return header;
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
    const char* letters = SuprRec::suprType(severity());
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
    const char* letters = SuprRec::suprType(severity());
    char buf[LineSize];
    snprintf(buf, sizeof buf, "   %-10s %-4s %-24s %s %c %s", _errorCategory.text(), letters ? letters : "?",
             _class.text(), file, separator, line);
    text(buf);
    return _text ? _text : "";
}
