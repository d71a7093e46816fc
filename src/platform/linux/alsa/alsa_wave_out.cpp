#include "platform/linux/alsa/alsa_wave_out.h"

#include "audio/audio_log.h"

#include <algorithm>

namespace tarnix {

bool AlsaWaveOut::open(const std::string& name, const PcmFormat& format)
{
    return pcm_.open(name, SND_PCM_STREAM_PLAYBACK, format);
}

int AlsaWaveOut::pause()
{
    snd_pcm_drop(pcm_.handle());
    return WaveOk;
}

int AlsaWaveOut::reset()
{
    cursor_ = nullptr;
    cursorBytes_ = 0;
    framesPlayed_ = framesWritten_;
    return pcm_.reset();
}

int AlsaWaveOut::write(WaveHeader& header)
{
    const int result = pcm_.hold(header);
    if (result != WaveOk) {
        return result;
    }
    if (cursor_ == nullptr) {
        cursor_ = &header;
        cursorBytes_ = 0;
    }
    update();
    return WaveOk;
}

void AlsaWaveOut::update()
{
    snd_pcm_t* pcm = pcm_.handle();
    if (snd_pcm_state(pcm) == SND_PCM_STATE_XRUN) {
        recoverFromUnderrun(-EPIPE);
    }
    pushPending();
    notePlayed();
    while (pcm_.oldest() != nullptr && pcm_.oldest() != cursor_ && pcm_.oldest()->reserved <= framesPlayed_) {
        pcm_.releaseOldest();
    }
}

void AlsaWaveOut::pushPending()
{
    const std::size_t frameBytes = pcm_.frameBytes();
    while (cursor_ != nullptr) {
        const std::size_t frames = (cursor_->bufferLength - cursorBytes_) / frameBytes;
        if (frames > 0) {
            const snd_pcm_sframes_t n = snd_pcm_writei(pcm_.handle(), cursor_->data + cursorBytes_, frames);
            if (n == -EAGAIN || n == 0) {
                return;
            }
            if (n < 0) {
                recoverFromUnderrun(static_cast<int>(n));
                return;
            }
            cursorBytes_ += static_cast<std::size_t>(n) * frameBytes;
            framesWritten_ += static_cast<std::uint64_t>(n);
            if (static_cast<std::size_t>(n) < frames) {
                continue;
            }
        }
        // Written whole (a trailing partial frame cannot be played): done once played up to here.
        cursor_->reserved = framesWritten_;
        cursor_ = cursor_->next;
        cursorBytes_ = 0;
    }
}

void AlsaWaveOut::notePlayed()
{
    snd_pcm_t* pcm = pcm_.handle();
    const snd_pcm_state_t state = snd_pcm_state(pcm);
    snd_pcm_sframes_t delay = 0;
    if ((state == SND_PCM_STATE_RUNNING || state == SND_PCM_STATE_DRAINING) &&
        snd_pcm_delay(pcm, &delay) == 0) {
        const auto queued = static_cast<std::uint64_t>(std::max<snd_pcm_sframes_t>(delay, 0));
        const std::uint64_t played = framesWritten_ > queued ? framesWritten_ - queued : 0;
        framesPlayed_ = std::max(framesPlayed_, played);
    }
}

void AlsaWaveOut::recoverFromUnderrun(int error)
{
    // An underrun means the device played everything it was given.
    if (error == -EPIPE) {
        framesPlayed_ = framesWritten_;
    }
    const int err = snd_pcm_recover(pcm_.handle(), error, 1);
    if (err < 0) {
        qCWarning(lcAudio, "playback cannot recover: %s", snd_strerror(err));
    }
}

}  // namespace tarnix
