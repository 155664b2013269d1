#include "app/MsgArea.h"

MsgArea* theMessageContainer = nullptr;

MsgArea::MsgArea(const char* name) : qipVCell(name), _nMessages(0), _trashcan(nullptr), _criterion(0) {}

MsgArea::~MsgArea() {}

void MsgArea::clientSignOn(NetClient*) {}

void MsgArea::newMessage(long, ErrorMsg*) {}

void MsgArea::clientSignOff(long) {}

void MsgArea::clientSizeAdjust(int n) { _nMessages += n; }
