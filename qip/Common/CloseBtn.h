#pragma once

#include "qip/Components/qipTButton.h"

class qipWindow;

// A button that closes (hides) one window, which it does not own.
class CloseBtn : public qipTButton {
public:
    explicit CloseBtn(qipWindow* client, const char* label = "Close");

    void triggered() override;
    const char* className() const override { return "CloseBtn"; }

private:
    qipWindow* _client;
};
