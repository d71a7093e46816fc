#pragma once

#include "audio/sound_sink.h"
#include "audio/wave_channel.h"

namespace tarnix {

// Captures PCM from one input device and hands each filled slot, in ring order, to a sink on
// the channel's own thread. The sink gets the slot in place and must copy what it keeps.
class SoundInChannel : public WaveChannel {
public:
    explicit SoundInChannel(WaveDevices& devices) : WaveChannel(devices) {}
    ~SoundInChannel() override;

    void setSink(SoundSink* sink) { sink_ = sink; }

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
