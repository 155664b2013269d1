#pragma once

#include "qip/Monitors/qipButton.h"
#include "qip/Monitors/qipSensor_impl.h"

// The engine interface of a button.
class qipButton_impl : public qipSensor_impl {
public:
    explicit qipButton_impl(qipButton* client = nullptr) : _client(client) {}

    void triggerSensor() override { _client->eventDetected(); }

    qipButton* client() const { return _client; }
    void client(qipButton* c) { _client = c; }

protected:
    qipButton* _client;
};
