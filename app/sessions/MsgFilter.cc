#include "app/sessions/MsgFilter.h"

#include <cstring>
#include <new>

MsgFilter::~MsgFilter()
{
    for (ListIterator<MsgSuppression*> i(_suppressions); i.valid(); i.next())
        delete i.current();
    _suppressions.clear();
}

int MsgFilter::suppress(MsgSuppression::Code code, const char* token)
{
    if (!token || !*token)
        return 1;
    for (ListIterator<MsgSuppression*> i(_suppressions); i.valid(); i.next()) {
        MsgSuppression* s = i.current();
        if (s->code() == code && s->token() && strcmp(s->token(), token) == 0)
            return 1;
    }
    MsgSuppression* s = new (std::nothrow) MsgSuppression(code, token);
    if (!s || !s->token()) {
        delete s;
        return -1;
    }
    _suppressions.append(s);
    return 0;
}

int MsgFilter::isSuppressed(const ErrorMsg* m) const
{
    for (ListIterator<MsgSuppression*> i(_suppressions); i.valid(); i.next())
        if (i.current()->isSuppressed(m))
            return 1;
    return 0;
}
