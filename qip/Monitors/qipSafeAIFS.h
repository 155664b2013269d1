#pragma once

#include "qip/Monitors/qipSimpleAIFS.h"

// An input stream of frames: each readable event reads one whole frame, a
// 4-byte length L in host byte order followed by L bytes, into the data
// array, which grows to the largest frame seen and never shrinks. Once the
// length has begun to arrive the rest is read with blocking reads.
class qipSafeAIFS : public qipSimpleAIFS {
public:
    // Frames above this length are treated as a broken stream.
    enum { MaxFrame = 64 * 1024 * 1024 };

    qipSafeAIFS() : _bufferSize(ScratchSize) {}

    const char* className() const override { return "qipSafeAIFS"; }
    // Reads one frame; its length, 0 at end of stream (also for a length of 0
    // or less), or -1 when the stream broke.
    int read() override;

    int bufferSize() const { return _bufferSize; }
    const char* scratch() const { return _scratch; }

private:
    // Reads exactly `n` more bytes into `dst` with blocking reads; 0, or -1
    // when the stream fails or ends first.
    int readRest(char* dst, int n);

    int _bufferSize;
};
