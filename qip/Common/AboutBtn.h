#pragma once

#include "qip/Components/qipTButton.h"

// The About entry of the Help menu: "About <Application>..." (the
// application's name with a capital), showing the topic "about".
class AboutBtn : public qipTButton {
public:
    AboutBtn();

    void triggered() override;
    void helpRequested() const override;
    const char* className() const override { return "AboutBtn"; }
};
