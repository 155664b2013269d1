#pragma once

#include <cstddef>

#include "qip/Monitors/qipSimpleAIFS.h"

// An input stream of frames: a 4-byte length L in host byte order followed by
// L bytes. Each readable event reads what the descriptor holds, without
// waiting for more, and hands on every frame that is then whole, in order;
// a frame cut anywhere waits in the stream's data array for the rest. So a
// peer that stops in the middle of a frame costs nothing but its own
// connection. (The stream used to complete a frame with blocking reads,
// which froze the whole program for as long as the peer stalled.)
//
// The array grows for a large frame and shrinks back once it has gone. The
// bytes held by all streams together are capped: past the cap, the stream
// holding the most is treated as broken. It owns its data array.
class qipSafeAIFS : public qipSimpleAIFS {
public:
    // Frames above this length are treated as a broken stream.
    enum { MaxFrame = 64 * 1024 * 1024 };
    // What all streams together may hold of frames not yet whole: 256 MiB.
    static const size_t MaxHeld = 256u * 1024 * 1024;
    // The array's size at rest: each read takes what fits in it.
    enum { RestSize = 32 * 1024 };
    // read()'s answer when the next frame is not whole yet.
    enum { More = -2 };

    qipSafeAIFS();
    ~qipSafeAIFS() override;

    const char* className() const override { return "qipSafeAIFS"; }
    // Reads once what the descriptor holds and makes the next whole frame
    // the buffer's data: its length; More when no frame is whole yet; 0 at
    // end of stream (also for a length of 0 or less) once every whole frame
    // was handed on; -1 when the stream broke.
    int read() override;
    // The next whole frame of what is already held, without reading: the
    // same answers as read().
    int next();
    // Hands on each whole frame with triggered(); at the end of the stream,
    // or when it broke, stops watching and calls error().
    void eventDetected() override;
    int activate() override;
    int deactivate() override;

    int bufferSize() const { return _bufferSize; }
    const char* scratch() const { return _scratch; }
    // The bytes held for frames not yet handed on.
    size_t held() const { return _held - _start - _delivered; }
    // The bytes held by every stream.
    static size_t heldByAll() { return _heldByAll; }

private:
    qipSafeAIFS(const qipSafeAIFS&) = delete;
    qipSafeAIFS& operator=(const qipSafeAIFS&) = delete;

    // Makes room for `n` more bytes after what is held; false without memory.
    bool room(size_t n);
    // Moves what is held to the start of the array, and gives back a large
    // array once it holds little.
    void compact();
    void account(long change);
    // Past the cap: the stream that holds the most is closed; true when that
    // is this one.
    bool overCap();

    int _bufferSize;
    size_t _start;      // the first byte not yet handed on
    size_t _held;       // the end of the bytes read
    size_t _delivered;  // the bytes of the frame last handed on, still at _start
    bool _ended;        // the peer closed its end
    bool _broken;
    bool _stopped;      // deactivated since its event began
    qipSafeAIFS* _nextStream;  // every stream, for the cap
    qipSafeAIFS* _prevStream;

    static size_t _heldByAll;
    static qipSafeAIFS* _streams;
};
