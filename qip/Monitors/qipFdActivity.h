#pragma once

#include "qip/Monitors/qipSensor.h"

enum qipFdActivityEvent { onRead = 0, onWrite = 1, onException = 2 };

class qipFdActivity_impl;

// A sensor on the readiness of one file descriptor. It does not own the
// descriptor, nor the engine that whoever builds it installs.
class qipFdActivity : public qipSensor {
public:
    qipFdActivity() : _engine(nullptr), _fildes(-1), _toWatch(onRead) {}

    int activate() override;
    int deactivate() override;
    const char* className() const override { return "qipOnReadyFd"; }
    void eventDetected() override;

    // Remembers the descriptor to watch; -1 when it is negative. Registers nothing.
    int watch(int fd);

    int fildes() const { return _fildes; }
    qipFdActivity_impl* engine() const { return _engine; }
    void engine(qipFdActivity_impl* e) { _engine = e; }
    void toWatch(qipFdActivityEvent what) { _toWatch = what; }

protected:
    qipFdActivity_impl* _engine;
    int _fildes;
    qipFdActivityEvent _toWatch;
};
