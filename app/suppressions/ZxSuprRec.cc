#include "app/suppressions/ZxSuprRec.h"

#include <cstring>

bool ZxSuprRec::isNamed(const char* path) const
{
    const char* mine = _file ? _file->optionfile() : nullptr;
    if (mine == path)
        return true;
    return mine && path && strcmp(mine, path) == 0;
}
