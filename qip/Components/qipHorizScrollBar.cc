#include "qip/Components/qipHorizScrollBar.h"

#include <Xm/Xm.h>

#include "qip/Components/qipScrolledWindow.h"

qipHorizScrollBar::qipHorizScrollBar(const char* name, qipScrolledWindow* client)
    : qipScrollBar(name, client, XmHORIZONTAL)
{
}

void qipHorizScrollBar::scroll(int value)
{
    if (value == _curValue)
        return;
    _curValue = value;
    _client->horizScroll(value);
    _client->render();
}
