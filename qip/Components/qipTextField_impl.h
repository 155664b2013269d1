#pragma once

#include "qip/Components/qipVCell.h"
#include "qip/Components/qipTextField.h"
#include "qip/Monitors/qipSensor_impl.h"

// The engine interface of a text field, and the cell that places it: it owns
// the copy of the field's text and tells its sensor (not owned) when the user
// has entered a text. `_X` subclasses own the widget.
class qipTextField_impl : public qipSensor_impl, public qipVCell {
public:
    explicit qipTextField_impl(const char* name, qipTextField* client = nullptr);
    ~qipTextField_impl() override;

    const char* className() const override { return "qipTextField_impl"; }
    void triggerSensor() override;

    // Stores a copy of `s`; null clears the text.
    virtual void setText(const char* s);
    const char* text() const { return _text; }
    void width(int w) { _width = w; }
    int width() const { return _width; }
    qipTextField* client() const { return _client; }
    void client(qipTextField* c) { _client = c; }

protected:
    char* _text;
    int _width;
    qipTextField* _client;

private:
    qipTextField_impl(const qipTextField_impl&) = delete;
    qipTextField_impl& operator=(const qipTextField_impl&) = delete;
};
