#pragma once

#include "audio/sound_sink.h"
#include "audio/wave_channel.h"

namespace tarnix {

// Plays the blocks a producer writes into it on one output device. `write` and `allDone` run on
// the producer's thread; the channel's own thread only waits for the stop flag and then shuts
// the device, so the producer stops writing before it closes the channel.
class SoundOutChannel : public WaveChannel, public SoundSink {
public:
    explicit SoundOutChannel(WaveDevices& devices) : WaveChannel(devices) {}
    ~SoundOutChannel() override;

    // Queues the block as pieces of at most one slot. 1 = all queued; 0 = the next slot is still
    // playing (pieces before it stay queued).
    int write(const void* data, int length) override;
    // True when every slot has been played.
    bool allDone();
    // False after an open whose device could not be opened.
    bool deviceOpen() const { return hasDevice(); }

protected:
    void run() override;
    const char* threadName() const override { return "SoundOutChannel-Thread"; }
    bool hasDevice() const override { return device_ != nullptr; }
    void openDevice(int device, const PcmFormat& format) override;
    void dropDevice() override { device_.reset(); }

private:
    int writePiece(const unsigned char* data, int length);
    void shutdownDevice();

    std::unique_ptr<WaveOutDevice> device_;
};

}  // namespace tarnix
