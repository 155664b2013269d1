#pragma once

#include "qip/Components/qipScrollBar.h"

// The vertical bar: moving it scrolls the client's lines and redraws.
class qipVertScrollBar : public qipScrollBar {
public:
    qipVertScrollBar(const char* name, qipScrolledWindow* client);
    const char* className() const override { return "qipVertScrollBar"; }
    void scroll(int value) override;
};
