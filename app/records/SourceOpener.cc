#include "app/records/SourceOpener.h"

SourceOpener* SourceOpener::_current = nullptr;
