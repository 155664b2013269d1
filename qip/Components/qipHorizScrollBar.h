#pragma once

#include "qip/Components/qipScrollBar.h"

// The horizontal bar: moving it scrolls the client's columns and redraws.
class qipHorizScrollBar : public qipScrollBar {
public:
    qipHorizScrollBar(const char* name, qipScrolledWindow* client);
    const char* className() const override { return "qipHorizScrollBar"; }
    void scroll(int value) override;
};
