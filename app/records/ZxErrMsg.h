#pragma once

#include "app/records/ErrorMsg.h"

// One violation reported by a static-analysis client: an error message whose
// category reads "EffC++" and the rule's item number, with the class it was
// found in, its severity (1 to 5), the rule's title and rule set. The body
// the analyser sent is kept as `_originalBody`; the shown body puts the rule,
// severity and class above it. The client that holds it owns it.
class ZxErrMsg : public ErrorMsg {
public:
    explicit ZxErrMsg(long token = 0);
    ~ZxErrMsg() override;

    // "   EffC++12   PV   Buffer                  sample.cc : 6"
    const char* id() override;
    // The error-message brackets followed by <class><severity><item text><rule
    // set>; in the class, item text and rule set '>' stands as "%3E" and '%'
    // as "%25" ("Holder<int%3E" is the class Holder<int>).
    int extract(char* header) override;
    char* inject() override;

    // Keeps `text` as the original body and composes the shown one.
    void setBody(const char* text);
    // The analyser's text, without the lines the shown body puts above it.
    const char* originalBody() const override { return _originalBody ? _originalBody : ""; }

    // The rule item number from the category; 0 when it has none.
    int item() const;
    int severity() const;
    // "Informational", "Possible violation", "Violation", "Possible severe
    // violation", "Severe violation"; "" out of range.
    static const char* severityName(int severity);
    // "I", "PV", "V", "PSV", "SV" (as suppressions write a severity); null
    // out of range.
    static const char* severityLetters(int severity);
    enum { MaxSeverity = 5 };

    Field _class;
    Field _severity;
    Field _itemText;
    Field _ruleSet;
    char* _originalBody;

private:
    ZxErrMsg(const ZxErrMsg&) = delete;
    ZxErrMsg& operator=(const ZxErrMsg&) = delete;
};
