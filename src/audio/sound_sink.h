#pragma once

namespace tarnix {

// Takes blocks of PCM: a capture channel hands its filled buffers to one, and the playback
// channel and the MP3 recorder are ones.
class SoundSink {
public:
    virtual ~SoundSink() = default;
    // Returns 1 when the block was taken, 0 when not.
    virtual int write(const void* data, int length) = 0;
};

}  // namespace tarnix
