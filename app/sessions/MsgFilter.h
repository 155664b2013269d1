#pragma once

#include "app/sessions/MsgSuppression.h"
#include "qip/Support/List.h"

// The set of suppressions that hides messages of runtime clients: entries in
// the order they were added, without duplicates. It owns its entries.
class MsgFilter {
public:
    MsgFilter() {}
    ~MsgFilter();

    // Adds an entry unless `token` is null or empty or an equal entry exists;
    // 0 when added, 1 when nothing was to add, -1 when memory ran out.
    int suppress(MsgSuppression::Code code, const char* token);
    // 1 when some entry matches `m`, else 0.
    int isSuppressed(const ErrorMsg* m) const;

    const List<MsgSuppression*>& suppressions() const { return _suppressions; }

    List<MsgSuppression*> _suppressions;

private:
    MsgFilter(const MsgFilter&) = delete;
    MsgFilter& operator=(const MsgFilter&) = delete;
};
