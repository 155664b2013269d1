// An error, then a fatal error that ends the compilation.
#error "configure first"
#include "missing-header.h"
