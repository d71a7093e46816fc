#pragma once

#include "audio/sound_sink.h"

namespace tarnix {

// The capture side a recorder drives: a wave-input channel that hands each filled buffer to its
// sink on a thread of its own. `close` returns only after that thread has ended, so no block is in
// flight afterwards.
class CaptureChannel {
public:
    virtual ~CaptureChannel() = default;
    virtual void setBuffers(int size, int count) = 0;
    virtual void setSink(SoundSink* sink) = 0;
    // Device -1 is the default input. Returns 1 when capture runs, else 0.
    virtual int open(int device, int channels, int rate, int bits) = 0;
    virtual int close() = 0;
};

}  // namespace tarnix
