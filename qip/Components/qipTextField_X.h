#pragma once

#include "qip/Components/qipTextField_impl.h"

// The Motif side of a text field: it owns the text-field widget, which it
// creates unmanaged, and connects the widget's Return (activate callback) to
// its sensor while the field is active.
class qipTextField_X : public qipTextField_impl {
public:
    explicit qipTextField_X(const char* name, qipTextField* client = nullptr);
    ~qipTextField_X() override;

    const char* className() const override { return "qipTextField_X"; }
    void install(qipVCell* parent) override;
    void destroyed() override;
    // Connect / disconnect Return; -1 while there is no widget.
    int activate() override;
    int deactivate() override;
    // Stores the text and, once installed, shows it in the widget.
    void setText(const char* s) override;

private:
    void returnPressed();
    static void activate_cbk(Widget w, XtPointer clientData, XtPointer callData);
};
