#pragma once

// The buttons that lead to help, for code that builds menus and tool bars
// with all of them: a Help menu entry per topic, the About entry, the
// context-help button and the Close button of a window.
#include "qip/Common/AboutBtn.h"
#include "qip/Common/CloseBtn.h"
#include "qip/Common/HMenuBtn.h"
#include "qip/Common/HelpBtn.h"
