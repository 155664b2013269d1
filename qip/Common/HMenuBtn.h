#pragma once

#include "qip/Components/qipTButton.h"

// A Help menu entry for one topic: its cell name is the topic, and pressing
// it (or asking for help on it) shows that topic in the help window.
class HMenuBtn : public qipTButton {
public:
    HMenuBtn(const char* topic, const char* label) : qipTButton(topic, label) {}

    void triggered() override;
    void helpRequested() const override;
    const char* className() const override { return "HMenuBtn"; }
};
