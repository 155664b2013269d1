#pragma once

#include "qip/Components/qipVCell.h"

// The benchmarks' one application object and a mapped form in its own shell
// to install panes into; null without a DISPLAY.
qipVCell* benchParent();
