#include "qip/Components/qipVertScrollBar.h"

#include <Xm/Xm.h>

#include "qip/Components/qipScrolledWindow.h"

qipVertScrollBar::qipVertScrollBar(const char* name, qipScrolledWindow* client)
    : qipScrollBar(name, client, XmVERTICAL)
{
}

void qipVertScrollBar::scroll(int value)
{
    if (value == _curValue)
        return;
    _curValue = value;
    _client->vertScroll(value);
    _client->render();
}
