#include "qip/Common/HMenuBtn.h"

#include "qip/Common/HelpWindow.h"

void HMenuBtn::triggered() { HelpWindow::showHelpOn(name()); }

void HMenuBtn::helpRequested() const { HelpWindow::showHelpOn(name()); }
