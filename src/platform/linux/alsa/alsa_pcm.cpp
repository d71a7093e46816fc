#include "platform/linux/alsa/alsa_pcm.h"

#include "audio/audio_log.h"

#include <cerrno>

namespace tarnix {

namespace {

// Room for four of the player's 100 ms slots (the others wait in the held queue) and the capture
// ring's polling gaps.
constexpr unsigned BufferMicroseconds = 400000;
constexpr unsigned PeriodMicroseconds = 20000;

snd_pcm_format_t sampleFormat(int bits)
{
    switch (bits) {
        case 8:
            return SND_PCM_FORMAT_U8;
        case 16:
            return SND_PCM_FORMAT_S16_LE;
        case 24:
            return SND_PCM_FORMAT_S24_3LE;
        case 32:
            return SND_PCM_FORMAT_S32_LE;
        default:
            return SND_PCM_FORMAT_UNKNOWN;
    }
}

int applyFormat(snd_pcm_t* pcm, snd_pcm_stream_t stream, const PcmFormat& format)
{
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    unsigned rate = format.samplesPerSecond;
    unsigned bufferTime = BufferMicroseconds;
    unsigned periodTime = PeriodMicroseconds;
    int err = snd_pcm_hw_params_any(pcm, hw);
    if (err >= 0) err = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED);
    if (err >= 0) err = snd_pcm_hw_params_set_format(pcm, hw, sampleFormat(format.bitsPerSample));
    if (err >= 0) err = snd_pcm_hw_params_set_channels(pcm, hw, format.channels);
    if (err >= 0) err = snd_pcm_hw_params_set_rate_near(pcm, hw, &rate, nullptr);
    if (err >= 0) err = snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &bufferTime, nullptr);
    if (err >= 0) err = snd_pcm_hw_params_set_period_time_near(pcm, hw, &periodTime, nullptr);
    if (err >= 0) err = snd_pcm_hw_params(pcm, hw);
    if (err < 0) return err;

    snd_pcm_sw_params_t* sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    err = snd_pcm_sw_params_current(pcm, sw);
    // Playback starts with the first frame written: buffers are submitted whole, and a device
    // waiting for a full buffer would never start a short sound.
    if (err >= 0 && stream == SND_PCM_STREAM_PLAYBACK)
        err = snd_pcm_sw_params_set_start_threshold(pcm, sw, 1);
    if (err >= 0) err = snd_pcm_sw_params(pcm, sw);
    return err;
}

}  // namespace

AlsaPcm::~AlsaPcm()
{
    if (pcm_ != nullptr) {
        snd_pcm_close(pcm_);
    }
}

bool AlsaPcm::open(const std::string& name, snd_pcm_stream_t stream, const PcmFormat& format)
{
    if (format.formatTag != 1 || sampleFormat(format.bitsPerSample) == SND_PCM_FORMAT_UNKNOWN ||
        format.channels == 0 || format.samplesPerSecond == 0) {
        qCWarning(lcAudio, "PCM %s: unsupported format (%u channels, %u Hz, %u bits)", name.c_str(),
                  format.channels, format.samplesPerSecond, format.bitsPerSample);
        return false;
    }
    int err = snd_pcm_open(&pcm_, name.c_str(), stream, SND_PCM_NONBLOCK);
    missing_ = err == -ENOENT || err == -ENODEV;
    if (err >= 0) {
        err = applyFormat(pcm_, stream, format);
    }
    if (err < 0) {
        qCWarning(lcAudio, "PCM %s cannot be opened: %s", name.c_str(), snd_strerror(err));
        if (pcm_ != nullptr) {
            snd_pcm_close(pcm_);
            pcm_ = nullptr;
        }
        return false;
    }
    frameBytes_ = format.blockAlign == 0 ? 1 : format.blockAlign;
    return true;
}

int AlsaPcm::prepareHeader(WaveHeader& header)
{
    header.flags |= WaveHeader::Prepared;
    return WaveOk;
}

int AlsaPcm::unprepareHeader(WaveHeader& header)
{
    if ((header.flags & WaveHeader::InQueue) != 0) {
        return WaveStillPlaying;
    }
    header.flags &= ~WaveHeader::Prepared;
    return WaveOk;
}

int AlsaPcm::hold(WaveHeader& header)
{
    if ((header.flags & WaveHeader::Prepared) == 0 || (header.flags & WaveHeader::InQueue) != 0) {
        return WaveError;
    }
    header.flags = (header.flags & ~WaveHeader::Done) | WaveHeader::InQueue;
    header.next = nullptr;
    header.reserved = 0;
    if (tail_ != nullptr) {
        tail_->next = &header;
    } else {
        head_ = &header;
    }
    tail_ = &header;
    return WaveOk;
}

void AlsaPcm::releaseOldest()
{
    WaveHeader* header = head_;
    head_ = header->next;
    if (head_ == nullptr) {
        tail_ = nullptr;
    }
    header->next = nullptr;
    header->flags = (header->flags & ~WaveHeader::InQueue) | WaveHeader::Done;
}

int AlsaPcm::reset()
{
    if (pcm_ != nullptr) {
        snd_pcm_drop(pcm_);
        snd_pcm_prepare(pcm_);
    }
    while (head_ != nullptr) {
        releaseOldest();
    }
    return WaveOk;
}

int AlsaPcm::close()
{
    if (head_ != nullptr) {
        return WaveStillPlaying;
    }
    if (pcm_ != nullptr) {
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
    return WaveOk;
}

}  // namespace tarnix
