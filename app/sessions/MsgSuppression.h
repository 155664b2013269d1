#pragma once

class ErrorMsg;

// One entry of the message filter: an error category, or a source file given
// as its path, a '/' and its name, whose messages are hidden. It owns its
// token text.
class MsgSuppression {
public:
    enum Code { ErrorCategory = 0, File = 1 };

    MsgSuppression(Code code, const char* token);
    ~MsgSuppression();

    // Replaces the token by a copy of `token` (null keeps the old one).
    void setToken(const char* token);
    // 1 when `m` matches this entry, else 0.
    int isSuppressed(const ErrorMsg* m) const;

    int code() const { return _code; }
    const char* token() const { return _token; }

    int _code;

private:
    MsgSuppression(const MsgSuppression&) = delete;
    MsgSuppression& operator=(const MsgSuppression&) = delete;

    char* _token;
};
