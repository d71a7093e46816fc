#pragma once

#include "audio/wave_device.h"

#include <alsa/asoundlib.h>

#include <string>

namespace tarnix {

// One open ALSA PCM in non-blocking mode and the buffers it holds, oldest first. The wave
// devices of both directions build on it; the queue is linked through the buffers' own headers,
// so holding a buffer allocates nothing.
class AlsaPcm {
public:
    AlsaPcm() = default;
    AlsaPcm(const AlsaPcm&) = delete;
    AlsaPcm& operator=(const AlsaPcm&) = delete;
    ~AlsaPcm();

    // Opens the PCM and applies the format; false (logged) on failure.
    bool open(const std::string& name, snd_pcm_stream_t stream, const PcmFormat& format);
    // After a failed open: ALSA has no such PCM (an unknown name, a card that is not there), as
    // against one that is there but refused (busy, or the format).
    bool missing() const { return missing_; }

    snd_pcm_t* handle() const { return pcm_; }
    std::size_t frameBytes() const { return frameBytes_; }

    int prepareHeader(WaveHeader& header);
    // WaveStillPlaying while the PCM holds the buffer.
    int unprepareHeader(WaveHeader& header);
    // Takes a prepared buffer into the queue.
    int hold(WaveHeader& header);
    WaveHeader* oldest() const { return head_; }
    // Marks the oldest buffer done and lets go of it.
    void releaseOldest();
    // Drops what the PCM buffers and gives back every held buffer, marked done.
    int reset();
    int close();

private:
    snd_pcm_t* pcm_ = nullptr;
    bool missing_ = false;
    std::size_t frameBytes_ = 1;
    WaveHeader* head_ = nullptr;
    WaveHeader* tail_ = nullptr;
};

}  // namespace tarnix
