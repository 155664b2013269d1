// The registrations of the views the sessions talk to.

#include "app/sessions/SessionSink.h"
#include "app/sessions/StatusView.h"
#include "app/sessions/SuppressionView.h"

SessionSink* SessionSink::_current = nullptr;
StatusView* StatusView::_current = nullptr;
SuppressionView* SuppressionView::_current = nullptr;
