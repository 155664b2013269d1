#pragma once

#include "qip/Monitors/qipAIFStream.h"

// An input stream that reads whatever is available (up to 2048 bytes) each
// time its descriptor is readable, then calls triggered() with the data in
// the buffer, or, at end of stream or on a failed read, stops watching and
// calls error(). It owns its data array `_scratch`.
class qipSimpleAIFS : public qipAIFStream {
public:
    enum { ScratchSize = 2048 };

    qipSimpleAIFS();
    ~qipSimpleAIFS() override;

    const char* className() const override { return "qipSimpleAIFS"; }
    void eventDetected() override;
    int read() override;
    // The stream has ended or broken; the watch is already off.
    virtual void error() = 0;

protected:
    char* _scratch;
};
