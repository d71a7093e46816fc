#pragma once

#include "audio/sound_in_channel.h"
#include "audio/sound_out_channel.h"
#include "audio/sound_sink.h"

#include <condition_variable>
#include <functional>
#include <mutex>

namespace tarnix {

// Plays what one input device captures on one output device as it comes (8000 Hz mono 16 bit
// in 480-byte blocks) and reports each block's loudness. start and stop run on the owner's
// thread; the blocks and the level reports come on the capture thread.
class SoundLoopback final : public SoundSink {
public:
    static constexpr int BufferSize = 480;
    static constexpr int BufferCount = 50;
    static constexpr int Rate = 8000;
    static constexpr int Channels = 1;
    static constexpr int Bits = 16;
    // A full output ring is tried again this often, for at most RetryLimitMs a block.
    static constexpr int RetryMs = 100;
    static constexpr int RetryLimitMs = 1000;

    // Told the level (0..100) of every captured block, on the capture thread.
    using LevelListener = std::function<void(int level)>;

    SoundLoopback(WaveDevices& devices, LevelListener onLevel);
    ~SoundLoopback() override;
    SoundLoopback(const SoundLoopback&) = delete;
    SoundLoopback& operator=(const SoundLoopback&) = delete;

    // Opens the output, then the input (-1: the default device). False when a thread could not
    // be started (what did start is stopped again).
    bool start(int outputDevice, int inputDevice);
    // Capture first, so nothing writes into the output once it closes; a block waiting for room
    // is dropped at once.
    void stop();
    bool running() const { return running_; }

    // A captured block: played, then measured. An empty block is skipped.
    int write(const void* data, int length) override;

    // The loudness of signed 16-bit samples on a 60 dB scale: 0 for silence (or less than one
    // sample), 100 at full scale.
    static int level(const void* data, int length);

private:
    // Waits one retry period; false when the loop is stopping.
    bool waitToRetry();

    SoundOutChannel output_;
    SoundInChannel input_;
    LevelListener onLevel_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool running_ = false;
};

}  // namespace tarnix
