#pragma once

#include "audio/wave_device.h"
#include "platform/linux/alsa/alsa_pcm.h"

namespace tarnix {

// Plays submitted buffers on an ALSA PCM. A buffer is done once the frames written minus the
// PCM's delay have passed its end; an underrun means everything written has been played.
class AlsaWaveOut final : public WaveOutDevice {
public:
    bool open(const std::string& name, const PcmFormat& format);
    bool missing() const { return pcm_.missing(); }

    int pause() override;
    int reset() override;
    int prepareHeader(WaveHeader& header) override { return pcm_.prepareHeader(header); }
    int unprepareHeader(WaveHeader& header) override { return pcm_.unprepareHeader(header); }
    int write(WaveHeader& header) override;
    void update() override;
    int close() override { return pcm_.close(); }

private:
    void pushPending();
    void notePlayed();
    void recoverFromUnderrun(int error);

    AlsaPcm pcm_;
    // The first held buffer not yet written whole, and how much of it was.
    WaveHeader* cursor_ = nullptr;
    std::size_t cursorBytes_ = 0;
    std::uint64_t framesWritten_ = 0;
    std::uint64_t framesPlayed_ = 0;
};

}  // namespace tarnix
