#include "qip/Common/CloseBtn.h"

#include "qip/Components/qipWindow.h"

CloseBtn::CloseBtn(qipWindow* client, const char* label) : qipTButton("closeBtn", label), _client(client) {}

void CloseBtn::triggered()
{
    if (_client)
        _client->close();
}
