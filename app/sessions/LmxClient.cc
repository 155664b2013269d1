#include "app/sessions/LmxClient.h"

#include <string>

#include "app/records/ErrorMsg.h"
#include "app/sessions/StatusView.h"

MsgFilter LmxClient::_filter;

int LmxClient::append(ErrorMsg* m)
{
    if (!m)
        return -1;
    if (_criterion != sortByTime && _criterion != sortByErrorCategory)
        return -1;
    if (_filter.isSuppressed(m)) {
        m->_suppressed = Yes;
        ++_nSuppressed;
    }
    return insert(m);
}

void LmxClient::suppress(ErrorMsg* m)
{
    if (!m)
        return;
    _filter.suppress(MsgSuppression::ErrorCategory, m->_errorCategory.text());
    std::string text = std::string("Suppressed \"") + m->_errorCategory.text() + "\" messages";
    StatusView::show(text.c_str());
}

int LmxClient::applyFilter()
{
    int hidden = 0;
    for (ListIterator<ErrorMsg*> i(_messages); i.valid(); i.next()) {
        ErrorMsg* m = i.current();
        if (m->_suppressed != Yes && _filter.isSuppressed(m)) {
            m->_suppressed = Yes;
            ++hidden;
        }
    }
    _nSuppressed += hidden;
    return hidden;
}
