#pragma once

#include "qip/Components/qipTextField.h"
#include "qip/Components/qipVCell.h"

class qipTextField_X;

// A one-line text entry placed in a window. It owns its sensor and its Motif
// engine; when the user presses Return in the active field, triggered() runs
// with the entered text available from text(). By default that reports the
// text on standard error and puts the field away; editing fields override it.
class TextField : public qipVCell {
public:
    // The sensor that hands Return on to its field.
    class Sensor : public qipTextField {
    public:
        explicit Sensor(TextField* client) : _client(client) {}
        const char* className() const override { return "TextField::Sensor"; }
        void triggered() override { _client->triggered(); }

    protected:
        TextField* _client;
    };

    explicit TextField(const char* name);
    ~TextField() override;

    // Creates the (unmanaged) widget under `parent`.
    void install(qipVCell* parent) override;
    const char* className() const override { return "TextField"; }
    virtual void triggered();

    // The last text set or entered; null when none.
    const char* text() const { return _textField->text(); }
    // Stores the text and, once installed, shows it.
    void text(const char* s) { _textField->text(s); }
    // Return reaches triggered() only while the field is active.
    int activate() { return _textField->activate(); }
    int deactivate() { return _textField->deactivate(); }

    qipTextField* textField() const { return _textField; }
    qipTextField_X* engine() const { return _engine; }

protected:
    qipTextField* _textField;
    qipTextField_X* _engine;

private:
    TextField(const TextField&) = delete;
    TextField& operator=(const TextField&) = delete;
};
