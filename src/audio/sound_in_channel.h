#pragma once

#include "audio/capture_channel.h"
#include "audio/sound_sink.h"
#include "audio/wave_channel.h"

namespace tarnix {

// Captures PCM from one input device and hands each filled slot, in ring order, to a sink on
// the channel's own thread. The sink gets the slot in place and must copy what it keeps.
class SoundInChannel : public WaveChannel, public CaptureChannel {
public:
    explicit SoundInChannel(WaveDevices& devices) : WaveChannel(devices) {}
    ~SoundInChannel() override;

    // The capture side a recorder drives is this channel's own.
    void setBuffers(int size, int count) override { WaveChannel::setBuffers(size, count); }
    void setSink(SoundSink* sink) override { sink_ = sink; }
    int open(int device, int channels, int rate, int bits) override
    {
        return WaveChannel::open(device, channels, rate, bits);
    }
    int close() override { return WaveChannel::close(); }

protected:
    void run() override;
    const char* threadName() const override { return "SoundInChannel-Thread"; }
    bool hasDevice() const override { return device_ != nullptr; }
    void openDevice(int device, const PcmFormat& format) override;
    void dropDevice() override { device_.reset(); }

private:
    void queueEmptySlot();
    void handOnFilledSlot();
    void shutdownDevice();

    std::unique_ptr<WaveInDevice> device_;
    SoundSink* sink_ = nullptr;
};

}  // namespace tarnix
