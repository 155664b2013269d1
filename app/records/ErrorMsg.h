#pragma once

#include "app/records/Field.h"
#include "app/records/NetMsg.h"

class qipAIFStream;

enum ErrorMsgStatus { New = 0, Old = 1, Deleted = 2, Acknowledged = 3 };
enum SuppressStatus { No = 0, Yes = 1 };

// One error report of a runtime-checking client: the header fields parsed
// from its bracketed header text, and the multi-line body with its stack
// traces. The client session that holds it owns it; it owns its fields.
class ErrorMsg : public NetMsg {
public:
    explicit ErrorMsg(long token = 0);

    // The header-list line: category, thread and source location.
    const char* id() override;
    // Opens the source line in the external editor (nothing when the file is unknown).
    int activate() override;
    int extract(char* header) override;
    char* inject() override;
    void selected(int) override {}
    int decoration() override { return 0; }

    // Sets the body to a copy of `text`; `size` is the length the sender declared.
    void body(const char* text, int size);
    // The body as the sender wrote it, which is what a report file stores:
    // here the shown body itself.
    virtual const char* originalBody() const { return _body.text(); }

    // Parses one bracket at `cursor` and splits its text at the last
    // `separator` into `path` (before) and `name` (after). Without a separator
    // `path` is empty and `name` is the whole text; a failed parse leaves both
    // empty. 0 or -1.
    static int extractFileName(Field& path, Field& name, char separator, char*& cursor);

    // Summary lines are composed in a buffer of this size and cut to fit.
    enum { LineSize = 1024 };

    Field _msgSrc;
    Field _host;
    Field _date;
    Field _time;
    Field _pid;
    Field _tid;
    Field _errorCategory;
    Field _filepath;
    Field _filename;
    Field _lineno;
    int _bodySz;
    Field _body;
    int _status;
    int _suppressed;

protected:
    // Parses the ten brackets of an error report from `cursor` on and leaves
    // the cursor after them; the result of the last one.
    int extractFields(char*& cursor);
    // The file and line parts of a summary line: both empty, and a blank for
    // the separator, when the location is unknown.
    void location(const char*& file, char& separator, const char*& line) const;
};

// Reads one error record (header length, header, body length, body) from the
// current frame of `in`. A short or malformed record leaves the missing
// fields empty; texts are cut to their declared length.
qipAIFStream& operator>>(qipAIFStream& in, ErrorMsg& m);
