#pragma once

#include "qip/Components/qipButton_X.h"

// A tool button: an icon with its label under it, in a Form named after the
// cell that holds the push button "<name>_button" and the label
// "<name>_label". With only a label or only an icon, or inside a menu, it is
// a plain push button.
class qipTButton_X : public qipButton_X {
public:
    qipTButton_X(const char* name, qipButton* client) : qipButton_X(name, client), _lblArea(nullptr) {}

    void install(qipVCell* parent) override;
    void destroyed() override;
    const char* className() const override { return "qipTButton_X"; }

    // Replaces the label and shows it at once when the button exists.
    void updateLabel(const char* label);

    // The label under the icon; null for a plain button.
    Widget labelArea() const { return _lblArea; }

protected:
    // Shows `text` wherever this button shows its label.
    void showLabel(const char* text);

    Widget _lblArea;
};
