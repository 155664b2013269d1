#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct XML_ParserStruct;

// Reads one XML document that arrives in pieces cut anywhere (inside a tag,
// inside a UTF-8 sequence) and hands each element to a handler as it opens
// and closes. It owns its expat parser, not the handler. The bytes come
// from checkers that write names and paths as they find them, so it expects
// the worst: a byte that is no XML character becomes '?', elements nested
// deeper than MaxDepth and text beyond MaxText are dropped, and a document
// type declaration or a single tag longer than MaxToken breaks the document.
class XmlStreamParser {
public:
    // What the reader of one kind of document implements. `path` holds the
    // names of the open elements, the root first and the element itself last.
    class Handler {
    public:
        virtual ~Handler() = default;
        // `attributes` is expat's list: name, value, ..., null.
        virtual void elementStarted(const std::vector<std::string>& path, const char** attributes) = 0;
        // `text` is what stands between the element's last tag and its end
        // tag (for an element without children: all of it), trimmed.
        virtual void elementEnded(const std::vector<std::string>& path, const std::string& text) = 0;
    };

    enum { MaxDepth = 32, MaxText = 64 * 1024, MaxToken = 4 * 1024 * 1024 };

    explicit XmlStreamParser(Handler& handler);
    ~XmlStreamParser();

    // Parses the next bytes: 0, or -1 once the document is broken (then
    // later bytes are ignored until reset()).
    int feed(const char* data, size_t n);
    // Forgets the document: the next byte begins a new one.
    void reset();
    // Breaks the document from inside a handler: the reader found it is
    // not what it reads.
    void stop(const std::string& why);

    bool broken() const { return !_error.empty(); }
    // Why the document is broken, with the line and column; empty if it is not.
    const std::string& error() const { return _error; }

private:
    XmlStreamParser(const XmlStreamParser&) = delete;
    XmlStreamParser& operator=(const XmlStreamParser&) = delete;

    void create();
    void clean(const char* data, size_t n, std::string& out);
    void progress();
    static void started_cbk(void* self, const char* name, const char** attributes);
    static void ended_cbk(void* self, const char* name);
    static void text_cbk(void* self, const char* text, int len);
    static void other_cbk(void* self, const char* text, int len);
    static void doctype_cbk(void* self, const char* name, const char* sysid, const char* pubid, int internal);

    Handler& _handler;
    XML_ParserStruct* _parser;
    std::vector<std::string> _path;
    int _skipped;             // open elements below MaxDepth, not in _path
    std::string _text;
    std::string _utf8;        // a UTF-8 sequence cut at the end of the last piece
    long long _fed;           // bytes given to expat for this document
    long long _lastEvent;     // where expat last reported anything
    std::string _error;
    std::string _stopReason;
};

// A name from an XML file (a category, a tool, a thread) as one word that the
// message records can carry: at most `max` characters, each outside
// letters, digits and "_-.:" replaced by '_'.
std::string xmlWord(const std::string& s, size_t max);
