#include "tools/lumox-run/XmlStreamParser.h"

#include <cctype>

#include <expat.h>

#include <algorithm>

namespace {

// How many continuation bytes a UTF-8 lead byte wants; -1 for a byte that
// starts no character (a stray continuation, an overlong or out-of-range lead).
int continuations(unsigned char c)
{
    if (c < 0x80)
        return 0;
    if (c >= 0xC2 && c <= 0xDF)
        return 1;
    if (c >= 0xE0 && c <= 0xEF)
        return 2;
    if (c >= 0xF0 && c <= 0xF4)
        return 3;
    return -1;
}

// Whether `c` may follow `lead` as its first continuation byte: this is
// where overlong forms, surrogates and code points past U+10FFFF show.
bool firstContinuationFits(unsigned char lead, unsigned char c)
{
    if ((c & 0xC0) != 0x80)
        return false;
    switch (lead) {
    case 0xE0: return c >= 0xA0;
    case 0xED: return c < 0xA0;
    case 0xF0: return c >= 0x90;
    case 0xF4: return c < 0x90;
    default: return true;
    }
}

std::string trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

}  // namespace

XmlStreamParser::XmlStreamParser(Handler& handler) : _handler(handler), _parser(nullptr)
{
    create();
}

XmlStreamParser::~XmlStreamParser()
{
    if (_parser)
        XML_ParserFree(_parser);
}

void XmlStreamParser::create()
{
    if (_parser)
        XML_ParserFree(_parser);
    // The bytes are made UTF-8 before expat sees them, whatever the
    // document declares.
    _parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(_parser, this);
    XML_SetElementHandler(_parser, started_cbk, ended_cbk);
    XML_SetCharacterDataHandler(_parser, text_cbk);
    XML_SetDefaultHandlerExpand(_parser, other_cbk);
    XML_SetStartDoctypeDeclHandler(_parser, doctype_cbk);
    _path.clear();
    _skipped = 0;
    _text.clear();
    _utf8.clear();
    _fed = 0;
    _lastEvent = 0;
    _error.clear();
    _stopReason.clear();
}

void XmlStreamParser::reset() { create(); }

int XmlStreamParser::feed(const char* data, size_t n)
{
    if (broken() || !_parser)
        return -1;
    std::string bytes;
    bytes.reserve(n + 4);
    clean(data, n, bytes);
    size_t at = 0;
    while (at < bytes.size()) {
        // expat counts in int.
        int len = static_cast<int>(std::min(bytes.size() - at, static_cast<size_t>(1 << 20)));
        if (XML_Parse(_parser, bytes.data() + at, len, XML_FALSE) != XML_STATUS_OK) {
            if (!_stopReason.empty())
                _error = _stopReason;
            else
                _error = XML_ErrorString(XML_GetErrorCode(_parser));
            _error += " (line " + std::to_string(XML_GetCurrentLineNumber(_parser)) + ", column "
                      + std::to_string(XML_GetCurrentColumnNumber(_parser)) + ")";
            return -1;
        }
        at += static_cast<size_t>(len);
        _fed += len;
        // expat keeps a tag, comment or declaration whole until its end
        // arrives: one that never ends would grow without bound.
        if (_fed - _lastEvent > MaxToken) {
            _error = "a tag longer than " + std::to_string(MaxToken / (1024 * 1024)) + " MiB (byte "
                     + std::to_string(_lastEvent) + ")";
            return -1;
        }
    }
    return 0;
}

void XmlStreamParser::stop(const std::string& why)
{
    if (!_stopReason.empty())
        return;
    _stopReason = why;
    XML_StopParser(_parser, XML_FALSE);
}

// Each byte that cannot stand in an XML document becomes one '?', so that
// expat's line and column still point at the checker's bytes.
void XmlStreamParser::clean(const char* data, size_t n, std::string& out)
{
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        if (!_utf8.empty()) {
            unsigned char lead = static_cast<unsigned char>(_utf8[0]);
            bool fits = _utf8.size() == 1 ? firstContinuationFits(lead, c) : (c & 0xC0) == 0x80;
            if (fits) {
                _utf8 += static_cast<char>(c);
                if (_utf8.size() == static_cast<size_t>(1 + continuations(lead))) {
                    // U+FFFE and U+FFFF are no XML characters.
                    if (_utf8 == "\xEF\xBF\xBE" || _utf8 == "\xEF\xBF\xBF")
                        out.append(_utf8.size(), '?');
                    else
                        out += _utf8;
                    _utf8.clear();
                }
                continue;
            }
            out.append(_utf8.size(), '?');
            _utf8.clear();
        }
        if (c < 0x80) {
            bool control = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
            out += control ? '?' : static_cast<char>(c);
        } else if (continuations(c) < 0) {
            out += '?';
        } else {
            _utf8 += static_cast<char>(c);
        }
    }
}

void XmlStreamParser::progress() { _lastEvent = XML_GetCurrentByteIndex(_parser); }

void XmlStreamParser::started_cbk(void* self, const char* name, const char** attributes)
{
    XmlStreamParser* p = static_cast<XmlStreamParser*>(self);
    p->progress();
    if (!p->_stopReason.empty())
        return;
    p->_text.clear();
    if (p->_skipped > 0 || p->_path.size() >= MaxDepth) {
        ++p->_skipped;
        return;
    }
    p->_path.push_back(name);
    p->_handler.elementStarted(p->_path, attributes);
}

void XmlStreamParser::ended_cbk(void* self, const char* name)
{
    (void)name;
    XmlStreamParser* p = static_cast<XmlStreamParser*>(self);
    p->progress();
    if (!p->_stopReason.empty())
        return;
    if (p->_skipped > 0) {
        --p->_skipped;
        p->_text.clear();
        return;
    }
    std::string text = trimmed(p->_text);
    p->_text.clear();
    p->_handler.elementEnded(p->_path, text);
    p->_path.pop_back();
}

void XmlStreamParser::text_cbk(void* self, const char* text, int len)
{
    XmlStreamParser* p = static_cast<XmlStreamParser*>(self);
    p->progress();
    if (p->_skipped > 0 || len <= 0 || p->_text.size() >= MaxText)
        return;
    size_t keep = static_cast<size_t>(len);
    size_t room = MaxText - p->_text.size();
    if (keep > room) {
        // Never keep half a character.
        keep = room;
        while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
            --keep;
    }
    p->_text.append(text, keep);
}

void XmlStreamParser::other_cbk(void* self, const char* text, int len)
{
    (void)text;
    (void)len;
    static_cast<XmlStreamParser*>(self)->progress();
}

void XmlStreamParser::doctype_cbk(void* self, const char* name, const char* sysid, const char* pubid, int internal)
{
    (void)name;
    (void)sysid;
    (void)pubid;
    (void)internal;
    // The checkers write none; one with entities could make a few bytes
    // expand into gigabytes.
    static_cast<XmlStreamParser*>(self)->stop("a document type declaration, which no checker writes");
}

std::string xmlWord(const std::string& s, size_t max)
{
    std::string out;
    for (char c : s) {
        if (out.size() >= max)
            break;
        bool ok = isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':';
        out += ok ? c : '_';
    }
    return out;
}
