#pragma once

#include "audio/wave_device.h"
#include "platform/linux/alsa/alsa_pcm.h"

namespace tarnix {

// Captures from an ALSA PCM into the added buffers, in order; a buffer is done when full.
class AlsaWaveIn final : public WaveInDevice {
public:
    bool open(const std::string& name, const PcmFormat& format);
    bool missing() const { return pcm_.missing(); }

    int start() override;
    int stop() override;
    int reset() override { return pcm_.reset(); }
    int prepareHeader(WaveHeader& header) override { return pcm_.prepareHeader(header); }
    int unprepareHeader(WaveHeader& header) override { return pcm_.unprepareHeader(header); }
    int addBuffer(WaveHeader& header) override;
    void update() override;
    int close() override { return pcm_.close(); }

private:
    void recoverFromOverrun(int error);

    AlsaPcm pcm_;
};

}  // namespace tarnix
