#include "app/sessions/MsgSuppression.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/records/ErrorMsg.h"

MsgSuppression::MsgSuppression(Code code, const char* token) : _code(code), _token(nullptr) { setToken(token); }

MsgSuppression::~MsgSuppression() { free(_token); }

void MsgSuppression::setToken(const char* token)
{
    if (!token)
        return;
    char* copy = strdup(token);
    if (!copy)
        return;
    free(_token);
    _token = copy;
}

int MsgSuppression::isSuppressed(const ErrorMsg* m) const
{
    if (!_token || !m)
        return 0;
    switch (_code) {
    case ErrorCategory:
        return strcmp(m->_errorCategory.text(), _token) == 0;
    case File: {
        std::string key = std::string(m->_filepath.text()) + "/" + m->_filename.text();
        return key == _token;
    }
    default:
        return 0;
    }
}
