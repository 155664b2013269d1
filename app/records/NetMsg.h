#pragma once

// The base of every message a client sends: the sign-on record and the error
// reports. It knows the number of the connection it came from (`_token`), the
// indentation the header list gives it, and caches its one-line summary in
// `_text`, which it owns.
class NetMsg {
public:
    explicit NetMsg(long token = 0) : _token(token), _indent(0), _text(nullptr) {}
    NetMsg(const NetMsg& other);
    NetMsg& operator=(const NetMsg& other);
    virtual ~NetMsg();

    // The summary line (built and cached on first use).
    virtual const char* id() = 0;
    virtual const char* text() const { return _text; }
    // Replaces the cached summary by a copy of `s`; a null `s` changes nothing.
    virtual void text(const char* s);
    // What a double click on the message's line does.
    virtual int activate() = 0;
    // Parses a header text in wire layout; the text is modified.
    virtual int extract(char* header) = 0;
    // A new header text in wire layout (the caller frees it), or null.
    virtual char* inject() = 0;
    virtual void selected(int on) = 0;
    // The annotation icon of the message's line; 0 for none.
    virtual int decoration() = 0;

    void indent(int n) { _indent = n; }
    int indent() const { return _indent; }
    long token() const { return _token; }

    long _token;
    int _indent;

protected:
    char* _text;
};
